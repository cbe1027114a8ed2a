#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "platform/linux/IniSettingsStore.h"
#include "tests/platform/TestFiles.h"

namespace talvane {
namespace {

using testing::Exists;
using testing::TempDir;
using testing::TestData;
using testing::WriteBytes;

struct Read {
    std::string value;  // the stored value, or "unknown value" when none was found
    std::size_t count = 0;
    SettingRead::Status status = SettingRead::Status::Missing;
};

Read Get(const IniSettingsStore& ini, const std::string& path, std::string_view section,
         std::string_view key, std::size_t maxBytes = 499) {
    const SettingRead read = ini.read(path, section, key, maxBytes);
    Read result;
    result.status = read.status;
    result.value = read.status == SettingRead::Status::Found ? read.value : "unknown value";
    result.count = read.status == SettingRead::Status::Found ? read.value.size() : 13;
    return result;
}

TEST(IniSettingsStoreRead, ReturnsDefault_AndCreatesNothing_WhenFileOrFolderIsMissing) {
    TempDir dir;
    IniSettingsStore ini;
    const std::string path = dir.file("setting.ini");
    Read read = Get(ini, path, "systemsetting", "sysNumber");
    EXPECT_EQ(read.value, "unknown value");
    EXPECT_EQ(read.count, 13u);
    EXPECT_FALSE(Exists(path));

    EXPECT_EQ(Get(ini, dir.file("no/such/setting.ini"), "s", "k").value, "unknown value");
    WriteBytes(dir.file("plain"), "[s]\nk=v\n");
    EXPECT_EQ(Get(ini, dir.file("plain/setting.ini"), "s", "k").value, "unknown value");
    EXPECT_EQ(Get(ini, dir.file("plain/setting.ini"), "s", "k").status,
              SettingRead::Status::Missing);
    // Something that cannot be read is not the same as nothing there.
    EXPECT_EQ(Get(ini, dir.path(), "s", "k").status, SettingRead::Status::Failed);
}

TEST(IniSettingsStoreRead, FollowsTheWindowsLookupRules) {
    TempDir dir;
    IniSettingsStore ini;
    const std::string path = dir.file("setting.ini");
    WriteBytes(path, TestData("windows_rules.ini"));

    // BOM skipped, CRLF, names matched without regard to case, blanks
    // trimmed, comment ignored, first section and first key win.
    EXPECT_EQ(Get(ini, path, "systemsetting", "sysNumber").value, "123456789012345678901234");
    EXPECT_EQ(Get(ini, path, " SYSTEMSETTING ", " sysnumber ").value, "123456789012345678901234");
    EXPECT_EQ(Get(ini, path, "other", "SYSNUMBER").value, "from other section");
    EXPECT_EQ(Get(ini, path, "systemsetting", "onlyinsecond").value, "unknown value");
    EXPECT_EQ(Get(ini, path, "systemsetting", "stray").value, "unknown value");
    EXPECT_EQ(Get(ini, path, "systemsetting", "noequals").value, "unknown value");
    EXPECT_EQ(Get(ini, path, "systemsetting", "; sysNumber").value, "unknown value");

    // Matching quotes come off, blanks inside them stay.
    EXPECT_EQ(Get(ini, path, "systemsetting", "double").value, "  quoted, with blanks  ");
    EXPECT_EQ(Get(ini, path, "systemsetting", "single").value, "x");
    EXPECT_EQ(Get(ini, path, "systemsetting", "mismatch").value, "\"x'");

    Read empty = Get(ini, path, "systemsetting", "empty");
    EXPECT_EQ(empty.value, "");
    EXPECT_EQ(empty.count, 0u);
    EXPECT_EQ(Get(ini, path, "systemsetting", "emptyquotes").count, 0u);
}

TEST(IniSettingsStoreRead, CutsToBufferSize_WithoutHalvingDoubleByteCharacters) {
    TempDir dir;
    IniSettingsStore ini;
    const std::string path = dir.file("setting.ini");
    const std::string zhong = "\xD6\xD0";  // one GBK character
    WriteBytes(path, "[s]\nascii=" + std::string(10000, '7') + "\ngbk=a" + zhong + zhong +
                         "\nnul=ab" + std::string(1, '\0') + "cd\n");

    Read ascii = Get(ini, path, "s", "ascii");
    EXPECT_EQ(ascii.count, 499u);
    EXPECT_EQ(ascii.value, std::string(499, '7'));

    // "a" + two characters is 5 bytes: room for 3 bytes keeps "a" and one
    // whole character, room for 2 keeps only "a".
    EXPECT_EQ(Get(ini, path, "s", "gbk", 3).value, "a" + zhong);
    EXPECT_EQ(Get(ini, path, "s", "gbk", 2).value, "a");
    EXPECT_EQ(Get(ini, path, "s", "gbk", 5).value, "a" + zhong + zhong);
    EXPECT_EQ(Get(ini, path, "s", "ascii", 0).count, 0u);
    EXPECT_EQ(Get(ini, path, "s", "missing", 4).status, SettingRead::Status::Missing);

    IniSettingsStore singleByte(false);
    EXPECT_EQ(Get(singleByte, path, "s", "gbk", 2).value, "a\xD6");

    // A value ends at a NUL byte, as the system's profile functions read it.
    EXPECT_EQ(Get(ini, path, "s", "nul").value, "ab");
}

TEST(IniSettingsStoreRead, MatchesDoubleByteNamesExactly_AndAsciiWithoutCase) {
    TempDir dir;
    IniSettingsStore ini;
    const std::string path = dir.file("setting.ini");
    // 0x81 0x41 and 0x81 0x61 are two different characters whose trail
    // bytes happen to be 'A' and 'a'; 0x81 0x5D ends in ']'.
    WriteBytes(path, "[\x81\x41]\nk=upper\n[\x81\x61]\nk=lower\n[x\x81\x5D]\nk=bracket\n");
    EXPECT_EQ(Get(ini, path, "\x81\x61", "K").value, "lower");
    EXPECT_EQ(Get(ini, path, "\x81\x41", "k").value, "upper");
    EXPECT_EQ(Get(ini, path, "X\x81\x5D", "k").value, "bracket");
}

TEST(IniSettingsStoreRead, ReadsHugeAndBinaryFiles_QuicklyAndWithoutCrashing) {
    TempDir dir;
    IniSettingsStore ini;
    const std::string path = dir.file("setting.ini");

    const std::string huge = "[filler]\n" + testing::FillerLines(12u * 1024 * 1024) +
                             "[systemsetting]\nsysNumber=at the very end\n";
    WriteBytes(path, huge);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Get(ini, path, "systemsetting", "sysNumber").value, "at the very end");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));

    WriteBytes(path, std::string(11u * 1024 * 1024, '\xFF'));  // one line, no newline
    EXPECT_EQ(Get(ini, path, "systemsetting", "sysNumber").value, "unknown value");

    // A sparse file far larger than any settings file: refused, not loaded.
    ASSERT_EQ(::truncate(path.c_str(), 300ll * 1024 * 1024), 0);
    EXPECT_EQ(Get(ini, path, "systemsetting", "sysNumber").value, "unknown value");
    EXPECT_FALSE(ini.write(path, "systemsetting", "sysNumber", "x").written());

    WriteBytes(path, TestData("binary_garbage.ini"));
    EXPECT_EQ(Get(ini, path, "systemsetting", "sysNumber").value, "found in garbage");
}

}  // namespace
}  // namespace talvane
