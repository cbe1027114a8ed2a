#include <gtest/gtest.h>

#include <string>

#include "settings/ClientNumber.h"
#include "settings/SettingsLocation.h"
#include "tests/core/settings/SettingsFixture.h"
#include "tests/fakes/FakeClock.h"
#include "tests/fakes/FakeRandom.h"
#include "tests/install/OtherUser.h"

namespace talvane {
namespace {

using testing::Exists;
using testing::FakeClock;
using testing::FakeRandom;
using testing::ReadBytes;

// An installed copy: the executable's folder stands for /usr/bin, the
// settings go to a user's configuration folder that does not exist yet.
struct InstalledCopy {
    testing::SettingsFixture exe;
    testing::TempDir home;
    std::string folder = home.file(".config/talvane");
    SettingsLocation location{exe.paths, folder};
    SettingsContext ctx{exe.profile, exe.codePage, location};

    std::string file() const { return folder + "/setting.ini"; }

    std::u16string start(int second, int draw) const {
        FakeClock clock({2026, 12, 7, 9, 0, second, 1});
        FakeRandom random({FakeRandom::drawFor(draw), FakeRandom::drawFor(draw)});
        std::u16string sysNumber;
        LoadClientNumber(sysNumber, ctx, clock, random);
        return sysNumber;
    }
};

TEST(UserSettings, ReadingCreatesNothing_WhenTheConfigurationFolderIsMissing) {
    InstalledCopy copy;
    EXPECT_EQ(ReadSetting(copy.ctx, u"systemsetting", u"sysNumber"), u"unknown value");
    EXPECT_FALSE(Exists(copy.home.file(".config")));
    EXPECT_TRUE(IsFreshUserSettings(copy.location, copy.exe.profile));
    EXPECT_FALSE(
        IsFreshUserSettings(copy.exe.paths, copy.exe.profile));  // a portable copy never is
}

TEST(UserSettings, FirstStartMakesFolderAndNumber_LaterStartsKeepIt) {
    InstalledCopy copy;
    // A file beside the executable is not read once the settings live
    // elsewhere, and nothing is written there.
    copy.exe.store("[systemsetting]\nsysNumber=999999999999999999999999\n");

    const std::u16string first = copy.start(1, 12);
    EXPECT_EQ(first, u"000122026120709000100012");
    EXPECT_EQ(ReadBytes(copy.file()), "[systemsetting]\nsysNumber=000122026120709000100012\n");
    EXPECT_EQ(testing::ModeOf(copy.home.file(".config")), 0700u);
    EXPECT_EQ(testing::ModeOf(copy.folder), 0700u);
    EXPECT_EQ(copy.exe.stored(), "[systemsetting]\nsysNumber=999999999999999999999999\n");

    EXPECT_EQ(copy.start(2, 345), first);
    EXPECT_EQ(ReadBytes(copy.file()), "[systemsetting]\nsysNumber=000122026120709000100012\n");
}

TEST(UserSettings, AUsersOwnFileKeepsTheUsualRules) {
    InstalledCopy copy;
    ASSERT_NE(WriteSetting(copy.ctx, u"other", u"key", u"1"), 0);
    // The file exists without the key: no number is made for it.
    EXPECT_EQ(copy.start(1, 12), u"unknown value");
    EXPECT_EQ(ReadBytes(copy.file()), "[other]\nkey=1\n");

    ASSERT_NE(WriteSetting(copy.ctx, u"systemsetting", u"sysNumber", u"short"), 0);
    EXPECT_EQ(copy.start(1, 12), u"000122026120709000100012");
}

TEST(UserSettings, WriteReportsFailure_WhenTheFolderCannotBeMade) {
    InstalledCopy copy;
    testing::WriteBytes(copy.home.file(".config"), "a file, not a folder");
    EXPECT_EQ(WriteSetting(copy.ctx, u"systemsetting", u"sysNumber", u"x"), 0);
    // Not a fresh folder either: the run goes on as "unknown value".
    EXPECT_EQ(copy.start(1, 12), u"unknown value");
    EXPECT_EQ(ReadBytes(copy.home.file(".config")), "a file, not a folder");
}

}  // namespace
}  // namespace talvane
