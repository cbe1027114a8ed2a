#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "platform/linux/UserFolders.h"
#include "settings/SettingsLocation.h"
#include "tests/core/settings/SettingsFixture.h"
#include "tests/install/OtherUser.h"
#include "tests/platform/TestFiles.h"

namespace talvane {
namespace {

using testing::FixedPaths;
using testing::RunAsOtherUser;
using testing::TempDir;

SettingsPlaceInputs ReadOnly(std::string xdg, std::string home) {
    return {"/usr/bin", false, std::move(xdg), std::move(home)};
}

TEST(ChooseSettingsDirectory, KeepsTheExecutablesFolder_WhenItIsWritable) {
    EXPECT_EQ(ChooseSettingsDirectory({"/opt/talvane", true, "/cfg", "/home/u"}), "/opt/talvane");
    EXPECT_EQ(ChooseSettingsDirectory({"/", true, "", ""}), "/");
}

TEST(ChooseSettingsDirectory, UsesXdgConfigHome_ElseHomeConfig_WhenTheFolderIsReadOnly) {
    EXPECT_EQ(ChooseSettingsDirectory(ReadOnly("/cfg", "/home/u")), "/cfg/talvane");
    EXPECT_EQ(ChooseSettingsDirectory(ReadOnly("/cfg//", "/home/u")), "/cfg/talvane");
    EXPECT_EQ(ChooseSettingsDirectory(ReadOnly("", "/home/u")), "/home/u/.config/talvane");
    // A relative value would name another folder in every working directory.
    EXPECT_EQ(ChooseSettingsDirectory(ReadOnly("cfg", "/home/u/")), "/home/u/.config/talvane");
    EXPECT_EQ(ChooseSettingsDirectory(ReadOnly("", "/")), "/.config/talvane");
    // Nowhere else to go: the executable's folder, where writes fail as before.
    EXPECT_EQ(ChooseSettingsDirectory(ReadOnly("", "")), "/usr/bin");
    EXPECT_EQ(ChooseSettingsDirectory(ReadOnly("./cfg", "home")), "/usr/bin");
}

TEST(ChooseSettingsDirectory, KeepsTheExecutablesFolder_WhenItsFileHoldsANumber) {
    EXPECT_EQ(ChooseSettingsDirectory({"/usr/bin", false, "/cfg", "/home/u", true}), "/usr/bin");
    // The Windows program names its own per-user folder.
    const std::string localAppData = "C:\\Users\\u\\AppData\\Local\\Talvane";
    EXPECT_EQ(ChooseSettingsDirectory("C:\\Program Files\\Talvane", false, true, localAppData),
              "C:\\Program Files\\Talvane");
    EXPECT_EQ(ChooseSettingsDirectory("C:\\Program Files\\Talvane", false, false, localAppData),
              localAppData);
    EXPECT_EQ(ChooseSettingsDirectory("C:\\Tools", true, false, localAppData), "C:\\Tools");
}

// The executable's folder as the other user sees it, with the environment
// the child is given.
std::string ChosenAsOtherUser(const std::string& folder, const char* xdg, const char* home) {
    return RunAsOtherUser([&] {
        xdg ? ::setenv("XDG_CONFIG_HOME", xdg, 1) : ::unsetenv("XDG_CONFIG_HOME");
        home ? ::setenv("HOME", home, 1) : ::unsetenv("HOME");
        return ChooseSettingsDirectory(
            {folder, IsWritableDirectory(folder), UserConfigHome(), UserHome()});
    });
}

TEST(SettingsLocation, ProbesTheExecutablesFolderAsTheRunningUser) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const std::string readOnly = dir.file("readonly");
    const std::string writable = dir.file("writable");
    ::mkdir(readOnly.c_str(), 0555);
    ::mkdir(writable.c_str(), 0755);
    testing::GiveToRunner(writable);

    EXPECT_EQ(ChosenAsOtherUser(writable, "/cfg", "/h"), writable);
    EXPECT_EQ(ChosenAsOtherUser(readOnly, "/cfg", "/h"), "/cfg/talvane");
    EXPECT_EQ(ChosenAsOtherUser(readOnly, nullptr, "/h"), "/h/.config/talvane");
    EXPECT_EQ(ChosenAsOtherUser(dir.file("missing"), nullptr, "/h"), "/h/.config/talvane");

    // Without HOME the password entry names the home folder.
    const struct passwd* entry = ::getpwuid(::geteuid() == 0 ? testing::kOtherUser : ::getuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(ChosenAsOtherUser(readOnly, nullptr, nullptr),
              std::string(entry->pw_dir) + "/.config/talvane");

    // The executable's paths themselves are passed through unchanged.
    const FixedPaths executable(readOnly);
    const SettingsLocation location(executable, "/elsewhere");
    EXPECT_EQ(location.applicationDirectory(), readOnly);
    EXPECT_EQ(location.settingsDirectory(), "/elsewhere");
}

TEST(IsWritableDirectory, AsksTheKernelForTheRunningUser) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const std::string readOnly = dir.file("readonly");
    const std::string writable = dir.file("writable");
    const std::string file = dir.file("file");
    ::mkdir(readOnly.c_str(), 0555);
    ::mkdir(writable.c_str(), 0700);
    testing::WriteBytes(file, "x");
    ::chmod(file.c_str(), 0666);
    testing::GiveToRunner(writable);

    const std::string answers = RunAsOtherUser([&] {
        std::string out;
        for (const std::string& path :
             {writable, readOnly, file, dir.file("missing"), std::string()}) {
            out += IsWritableDirectory(path) ? '1' : '0';
        }
        return out;
    });
    EXPECT_EQ(answers, "10000");
}

TEST(CreateSettingsDirectory, MakesEveryMissingLevelPrivate_AndLeavesExistingOnesAlone) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0751);
    const std::string target = dir.file("home/.config/talvane");
    const mode_t oldMask = ::umask(0);  // mkdir's mode must not rely on the umask
    EXPECT_TRUE(CreateSettingsDirectory(target));
    ::umask(oldMask);
    EXPECT_EQ(testing::ModeOf(dir.file("home")), 0700u);
    EXPECT_EQ(testing::ModeOf(dir.file("home/.config")), 0700u);
    EXPECT_EQ(testing::ModeOf(target), 0700u);
    EXPECT_EQ(testing::ModeOf(dir.path()), 0751u);

    ::chmod(target.c_str(), 0755);
    EXPECT_TRUE(CreateSettingsDirectory(target + "/"));
    EXPECT_EQ(testing::ModeOf(target), 0755u);

    testing::WriteBytes(dir.file("plain"), "");
    EXPECT_FALSE(CreateSettingsDirectory(dir.file("plain/talvane")));
    EXPECT_FALSE(CreateSettingsDirectory(dir.file("plain")));
    EXPECT_FALSE(CreateSettingsDirectory(""));
}

}  // namespace
}  // namespace talvane
