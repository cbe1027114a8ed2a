#include "settings/mdlINI.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/core/settings/SettingsFixture.h"

namespace talvane {
namespace {

using testing::Exists;
using testing::FixedPaths;
using testing::SettingsFixture;

const std::u16string kUnknown = u"unknown value";

std::u16string Read(const SettingsContext& ctx, std::u16string_view key = u"sysNumber") {
    return ReadSetting(ctx, u"systemsetting", key);
}

TEST(SettingsFilePath, JoinsDirectoryAndFileNameAsTheyStand) {
    EXPECT_EQ(SettingsFilePath(FixedPaths("/opt/talvane")), "/opt/talvane/setting.ini");
    EXPECT_EQ(SettingsFilePath(FixedPaths("/")), "//setting.ini");
    EXPECT_EQ(SettingsFilePath(FixedPaths("/opt/talvane/")), "/opt/talvane//setting.ini");
}

TEST(ReadSetting, ReturnsUnknownValue_AndCreatesNothing_WhenFileOrKeyIsMissing) {
    SettingsFixture s;
    EXPECT_EQ(Read(s.ctx), kUnknown);
    EXPECT_FALSE(Exists(s.file()));

    s.store("[systemsetting]\nother=1\n[elsewhere]\nsysNumber=2\n");
    EXPECT_EQ(Read(s.ctx), kUnknown);
}

TEST(Settings, WithoutAKnownFolder_NothingIsReadOrWrittenInTheCurrentFolder) {
    SettingsFixture s;
    s.store("[systemsetting]\nsysNumber=123456789012345678901234\n");
    const std::string before = s.stored();
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(s.dir.path());
    const FixedPaths unknown("");
    const SettingsContext ctx{s.profile, s.codePage, unknown};
    const std::u16string read = Read(ctx);
    const std::int16_t written = WriteSetting(ctx, u"systemsetting", u"sysNumber", u"x");
    std::filesystem::current_path(previous);
    EXPECT_EQ(read, kUnknown);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(s.stored(), before);
}

TEST(ReadSetting, ReturnsTheStoredValueItself) {
    SettingsFixture s;
    s.store(
        "[systemsetting]\n"
        "empty=\n"
        "digits=123456789012345678901234\n"
        "spaced=   123456789012345678901234   \n"
        "quoted=\"  inner  \"\n");
    EXPECT_EQ(Read(s.ctx, u"empty"), u"");
    EXPECT_EQ(Read(s.ctx, u"digits"), u"123456789012345678901234");
    EXPECT_EQ(Read(s.ctx, u"spaced"), u"123456789012345678901234");
    // The quotes keep the blanks from the file's own trim; the value's trim
    // takes them anyway.
    EXPECT_EQ(Read(s.ctx, u"quoted"), u"inner");

    s.store(testing::TestData("gbk.ini"));
    const std::u16string gbk = Read(s.ctx);
    EXPECT_EQ(gbk, u"中文数字");
    EXPECT_EQ(gbk.find(u'\0'), std::u16string::npos);
    // A lead byte without its trail byte decodes as one replacement mark.
    EXPECT_EQ(Read(s.ctx, u"broken"), u"ab\uFFFD");
}

TEST(ReadSetting, CutsOverlongValuesTo499Bytes_OnCharacterBoundaries) {
    SettingsFixture s;
    std::string doubleByte;
    for (int i = 0; i < 300; ++i) doubleByte += "\xD6\xD0";  // 600 bytes of 中
    s.store("[systemsetting]\nascii=" + std::string(10000, '8') +
            "\nlong500=" + std::string(500, '9') + "\ngbk=" + doubleByte + "\n");

    EXPECT_EQ(Read(s.ctx, u"ascii"), std::u16string(499, u'8'));
    EXPECT_EQ(Read(s.ctx, u"long500"), std::u16string(499, u'9'));
    // 499 bytes would halve the 250th character: 249 whole ones come back.
    EXPECT_EQ(Read(s.ctx, u"gbk"), std::u16string(249, u'中'));
}

TEST(ReadSetting, FindsTheFile_InFoldersWithTrailingSeparatorOrNonAsciiName) {
    SettingsFixture s;
    // The folder name stays in the file system's bytes (UTF-8); it is not
    // a value and does not pass through the code page.
    for (const std::string& folder : {s.dir.path() + "/", s.dir.file("应用")}) {
        std::filesystem::create_directory(testing::PathOf(folder));
        FixedPaths paths(folder);
        const SettingsContext ctx{s.profile, s.codePage, paths};
        EXPECT_NE(WriteSetting(ctx, u"systemsetting", u"sysNumber", u"x"), 0);
        EXPECT_EQ(testing::ReadBytes(folder + "/setting.ini"), "[systemsetting]\nsysNumber=x\n");
        EXPECT_EQ(Read(ctx), u"x");
    }
}

TEST(TrimSettingValue, TrimsSpacesOnceThenTrailingNuls) {
    std::u16string text(u" a \0\0", 5);
    EXPECT_EQ(TrimSettingValue(text), u"a ");
    EXPECT_EQ(text, u"a ");  // trimmed in place too

    std::u16string nuls(3, u'\0');
    EXPECT_EQ(TrimSettingValue(nuls), u"");
    std::u16string blanks = u"   ";
    EXPECT_EQ(TrimSettingValue(blanks), u"");
    std::u16string empty;
    EXPECT_EQ(TrimSettingValue(empty), u"");
    std::u16string inner = u"\u3000a b\t";  // only the plain space counts as blank
    EXPECT_EQ(TrimSettingValue(inner), u"\u3000a b\t");
}

TEST(WriteSetting, StoresCodePageBytes_AndReportsFailureAsZero) {
    SettingsFixture s;
    EXPECT_NE(WriteSetting(s.ctx, u"systemsetting", u"sysNumber", u"中文"), 0);
    EXPECT_EQ(s.stored(), "[systemsetting]\nsysNumber=\xD6\xD0\xCE\xC4\n");
    EXPECT_EQ(Read(s.ctx), u"中文");

    FixedPaths notADirectory(s.file());
    const SettingsContext broken{s.profile, s.codePage, notADirectory};
    EXPECT_EQ(WriteSetting(broken, u"systemsetting", u"sysNumber", u"x"), 0);
    EXPECT_EQ(Read(s.ctx), u"中文");

    // A store that refuses the write is a failure even though the folder
    // was there.
    struct Refuses : testing::PlatformSettingsStore {
        SettingWrite write(const std::string&, std::string_view, std::string_view,
                           std::string_view) override {
            return {SettingWrite::Status::Failed, "refused"};
        }
    } refusing;
    const SettingsContext refused{refusing, s.codePage, s.paths};
    EXPECT_EQ(WriteSetting(refused, u"s", u"k", u"v"), 0);
    EXPECT_EQ(WriteSetting(s.ctx, u"s", u"k", u"v"), 1);
}

}  // namespace
}  // namespace talvane
