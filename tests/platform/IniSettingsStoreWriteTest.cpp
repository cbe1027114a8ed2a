#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/linux/IniSettingsStore.h"
#include "tests/platform/TestFiles.h"

// Every umask call of this test program, the settings writer's included:
// setting the mask, even for a moment, changes the mode of files that other
// threads create meanwhile.
namespace {
std::atomic<int> umaskCalls{0};
}

extern "C" mode_t umask(mode_t mask) noexcept {
    ++umaskCalls;
    static const auto real = reinterpret_cast<mode_t (*)(mode_t)>(dlsym(RTLD_NEXT, "umask"));
    return real(mask);
}

namespace talvane {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempDir;
using testing::TestData;
using testing::WriteBytes;

std::string Get(const std::string& path, std::string_view section, std::string_view key) {
    const SettingRead read = IniSettingsStore().read(path, section, key, 499);
    return read.status == SettingRead::Status::Found ? read.value : "unknown value";
}

int Put(const std::string& path, std::string_view section, std::string_view key,
        std::string_view value) {
    return IniSettingsStore().write(path, section, key, value).written() ? 1 : 0;
}

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t Mode(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Runs check in a child process and reports whether it returned true. With
// dropPrivileges a root caller becomes "nobody" first, since permission bits
// do not bind root.
bool InChild(const std::function<bool()>& check, bool dropPrivileges) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (dropPrivileges && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(IniSettingsStoreWrite, CreatesFileSectionAndKey_WhenNoneExist) {
    TempDir dir;
    const std::string path = dir.file("setting.ini");
    const mode_t mask = ::umask(022);
    EXPECT_NE(Put(path, "systemsetting", "sysNumber", "000122008120509030730000"), 0);
    ::umask(mask);
    EXPECT_EQ(ReadBytes(path), "[systemsetting]\nsysNumber=000122008120509030730000\n");
    EXPECT_EQ(Mode(path), 0644u);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"setting.ini"});
}

TEST(IniSettingsStoreWrite, NewFileGetsTheUsualMode_WithoutTouchingTheUmask) {
    TempDir dir;
    const std::string path = dir.file("setting.ini");
    const mode_t mask = ::umask(027);
    const int before = umaskCalls;
    EXPECT_NE(Put(path, "systemsetting", "sysNumber", "x"), 0);
    const int calls = umaskCalls - before;
    ::umask(mask);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(Mode(path), 0640u);
}

TEST(IniSettingsStoreWrite, ChangesOnlyTheOneLine_AndKeepsEveryOtherByte) {
    TempDir dir;
    const std::string path = dir.file("setting.ini");
    const std::string original = TestData("preserve_crlf_bom.ini");

    WriteBytes(path, original);
    ASSERT_NE(Put(path, "SYSTEMSETTING", "SysNumber", "new"), 0);
    EXPECT_EQ(ReadBytes(path),
              "\xEF\xBB\xBF[systemsetting]\r\n; keep this comment\r\nsysNumber=new\r\nother=1\r\n"
              "\r\n[Later]\r\nx=y");

    // A new key goes after the section's last key, in the file's own line
    // ending; the last line, without one, gets one before the addition.
    WriteBytes(path, original);
    ASSERT_NE(Put(path, "systemsetting", "added", "1"), 0);
    ASSERT_NE(Put(path, "later", "z", "2"), 0);
    ASSERT_NE(Put(path, "new section", "k", "3"), 0);
    EXPECT_EQ(ReadBytes(path),
              "\xEF\xBB\xBF[systemsetting]\r\n; keep this comment\r\nsysNumber=old\r\nother=1\r\n"
              "added=1\r\n\r\n[Later]\r\nx=y\r\nz=2\r\n[new section]\r\nk=3\r\n");

    // Indentation and spelling before '=' stay; a header without keys
    // takes the new key right after it.
    WriteBytes(path, "  Key =  old value ; not a comment\n[empty]\n; note\n");
    ASSERT_NE(Put(path, "empty", "k", "v"), 0);
    EXPECT_EQ(ReadBytes(path), "  Key =  old value ; not a comment\n[empty]\nk=v\n; note\n");
    WriteBytes(path, "[s]\n  Key =  old\n");
    ASSERT_NE(Put(path, "s", "key", "new"), 0);
    EXPECT_EQ(ReadBytes(path), "[s]\n  Key =new\n");
}

TEST(IniSettingsStoreWrite, ValuesReadBackUnchanged_AndUnwritableInputIsRefused) {
    TempDir dir;
    const std::string path = dir.file("setting.ini");
    for (const std::string value :
         {"", " padded ", "\"quoted\"", "'x'", "\xD6\xD0\xCE\xC4", "a=b;c"}) {
        ASSERT_NE(Put(path, "s", "k", value), 0) << value;
        EXPECT_EQ(Get(path, "s", "k"), value);
    }
    WriteBytes(path, "[s]\nk=kept\n");
    EXPECT_EQ(Put(path, "s", "k", "two\nlines"), 0);
    EXPECT_EQ(Put(path, "s", "k", std::string("nul\0", 4)), 0);
    EXPECT_EQ(Put(path, "s\r", "k", "v"), 0);
    EXPECT_EQ(Put(path, "s", "a=b", "v"), 0);
    EXPECT_EQ(Put(path, "s", ";k", "v"), 0);
    EXPECT_EQ(Put(path, "s", "[k", "v"), 0);
    EXPECT_EQ(Put(path, "s", "  ", "v"), 0);
    EXPECT_EQ(ReadBytes(path), "[s]\nk=kept\n");
}

TEST(IniSettingsStoreWrite, ReplacesAtomically_KeepingPermissionBits) {
    TempDir dir;
    const std::string path = dir.file("setting.ini");
    WriteBytes(path, "[s]\nk=old\n");
    ::chmod(path.c_str(), 0640);
    struct stat before {};
    ::stat(path.c_str(), &before);
    std::ifstream reader(path, std::ios::binary);  // opened before the write

    ASSERT_NE(Put(path, "s", "k", "new"), 0);

    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_NE(before.st_ino, after.st_ino) << "the file was rewritten in place";
    EXPECT_EQ(Mode(path), 0640u);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "[s]\nk=old\n");
    EXPECT_EQ(ReadBytes(path), "[s]\nk=new\n");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"setting.ini"});
}

TEST(IniSettingsStoreWrite, FailsAndKeepsOldFile_WhenTheDiskFillsUp) {
    TempDir dir;
    const std::string path = dir.file("setting.ini");
    const std::string original = "[s]\nk=old\n" + std::string(200000, ';') + "\n";
    WriteBytes(path, original);

    // A file-size limit makes the write of the temporary file fail part way,
    // as a full disk does.
    EXPECT_TRUE(InChild(
        [&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return Put(path, "s", "k", "new") == 0;
        },
        false));
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"setting.ini"});
}

TEST(IniSettingsStoreWrite, FailsAndKeepsOldFile_WhenFileOrFolderIsReadOnly) {
    const bool root = ::geteuid() == 0;
    TempDir dir;
    const std::string path = dir.file("setting.ini");
    const std::string original = "[s]\nk=old\n";

    // Read-only file in a writable folder: renaming over it would work, but
    // a read-only settings file is not to be replaced.
    WriteBytes(path, original);
    ::chmod(path.c_str(), 0444);
    ::chmod(dir.path().c_str(), root ? 0777 : 0700);
    EXPECT_TRUE(InChild([&] { return Put(path, "s", "k", "new") == 0; }, true));
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"setting.ini"});

    // Writable file in a read-only folder: no room for the temporary file.
    ::chmod(path.c_str(), root ? 0666 : 0644);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_TRUE(InChild([&] { return Put(path, "s", "k", "new") == 0; }, true));
    EXPECT_TRUE(InChild([&] { return Put(dir.file("other.ini"), "s", "k", "v") == 0; }, true));
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"setting.ini"});

    // A folder that is a plain file fails for root as well.
    EXPECT_EQ(Put(dir.file("setting.ini/setting.ini"), "s", "k", "v"), 0);
    EXPECT_EQ(Put(dir.path(), "s", "k", "v"), 0);
}

TEST(IniSettingsStoreWrite, ReplacesTheLinkedFile_AndRefusesDanglingLinks) {
    TempDir dir;
    const std::string path = dir.file("setting.ini");
    WriteBytes(dir.file("real.ini"), "[s]\nk=old\n");
    ASSERT_EQ(::symlink("real.ini", path.c_str()), 0);

    ASSERT_NE(Put(path, "s", "k", "new"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadBytes(dir.file("real.ini")), "[s]\nk=new\n");

    const std::string dangling = dir.file("dangling.ini");
    ASSERT_EQ(::symlink("nowhere.ini", dangling.c_str()), 0);
    EXPECT_EQ(Put(dangling, "s", "k", "v"), 0);
    EXPECT_FALSE(Exists(dir.file("nowhere.ini")));
}

}  // namespace
}  // namespace talvane
