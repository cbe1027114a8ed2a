#include "tests/platform/contract/SettingsStoreContract.h"

#include <optional>
#include <vector>

#include "tests/platform/TestFiles.h"

namespace talvane::contract {
namespace {

using Status = SettingRead::Status;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr std::size_t kRoomy = 255;
// "你好" in GBK.
const std::string kNiHao = "\xC4\xE3\xBA\xC3";

struct ReadCase {
    const char* what;
    std::optional<std::string> file;  // nothing: no file at all
    std::string section, key;
    std::size_t maxBytes;
    Status status;
    std::string value;
};

TEST_P(SettingsStoreContract, Read_FollowsTheProfileLookupRules) {
    const std::vector<ReadCase> cases = {
        {"no file", std::nullopt, "Setting", "ClientNumber", kRoomy, Status::Missing, ""},
        {"no section", "[Other]\nClientNumber=1\n", "Setting", "ClientNumber", kRoomy,
         Status::Missing, ""},
        {"no key", "[Setting]\nOther=1\n", "Setting", "ClientNumber", kRoomy, Status::Missing, ""},
        {"names without case", "[setting]\nCLIENTNUMBER=12\n", "Setting", "ClientNumber", kRoomy,
         Status::Found, "12"},
        {"blanks around", "[Setting]\n  ClientNumber  =  12  \n", "Setting", "ClientNumber", kRoomy,
         Status::Found, "12"},
        {"double quotes off", "[s]\nk=\" a b \"\n", "s", "k", kRoomy, Status::Found, " a b "},
        {"single quotes off", "[s]\nk='x'\n", "s", "k", kRoomy, Status::Found, "x"},
        {"empty value", "[s]\nk=\n", "s", "k", kRoomy, Status::Found, ""},
        {"comment is no key", "[s]\n;k=hidden\n", "s", "k", kRoomy, Status::Missing, ""},
        {"comment skipped", "[s]\n;k=hidden\nk=shown\n", "s", "k", kRoomy, Status::Found, "shown"},
        {"first section's key", "[s]\nk=1\n[t]\nk=2\n", "t", "k", kRoomy, Status::Found, "2"},
        {"CRLF lines", "[s]\r\nk=v\r\nj=w\r\n", "s", "k", kRoomy, Status::Found, "v"},
        {"GBK value", "[s]\nk=" + kNiHao + "\n", "s", "k", kRoomy, Status::Found, kNiHao},
        {"value like a probe", "[s]\nk=\x01\n", "s", "k", kRoomy, Status::Found, "\x01"},
        {"cut after ASCII", "[s]\nk=abcdef\n", "s", "k", 3, Status::Found, "abc"},
        {"cut inside a character", "[s]\nk=a" + kNiHao + "\n", "s", "k", 2, Status::Found, "a"},
        {"cut between characters", "[s]\nk=a" + kNiHao + "\n", "s", "k", 3, Status::Found,
         "a\xC4\xE3"},
        {"cut to nothing", "[s]\nk=" + kNiHao + "\n", "s", "k", 1, Status::Found, ""},
    };
    auto store = GetParam().make();
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir folder;
        const std::string file = folder.file("setting.ini");
        if (c.file) WriteBytes(file, *c.file);
        const SettingRead read = store->read(file, c.section, c.key, c.maxBytes);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.value, c.value);
        EXPECT_EQ(store->exists(file), c.file.has_value()) << "reading created the file";
    }
}

TEST_P(SettingsStoreContract, Read_FailsWithAReason_WhenTheFileIsAFolder) {
    TempDir folder;
    const SettingRead read = GetParam().make()->read(folder.path(), "s", "k", kRoomy);
    EXPECT_EQ(read.status, Status::Failed);
    EXPECT_FALSE(read.reason.empty());
}

TEST_P(SettingsStoreContract, Write_CreatesTheFile_AndReadsBack) {
    TempDir folder;
    const std::string file = folder.file("setting.ini");
    auto store = GetParam().make();
    ASSERT_TRUE(store->write(file, "Setting", "ClientNumber", kNiHao).written());
    ASSERT_TRUE(store->write(file, "Setting", "Other", "2").written());
    ASSERT_TRUE(store->write(file, "Setting", "clientnumber", "1").written());
    EXPECT_EQ(store->read(file, "setting", "CLIENTNUMBER", kRoomy).value, "1");
    EXPECT_EQ(store->read(file, "Setting", "Other", kRoomy).value, "2");
}

TEST_P(SettingsStoreContract, Write_ChangesOneValue_AndKeepsEveryOtherLine) {
    TempDir folder;
    const std::string file = folder.file("setting.ini");
    const std::string before =
        "; kept\r\n[Setting]\r\nClientNumber=old\r\nName=" + kNiHao + "\r\n[Next]\r\nk=v\r\n";
    WriteBytes(file, before);
    ASSERT_TRUE(GetParam().make()->write(file, "SETTING", "clientnumber", "new").written());
    std::string expected = before;
    expected.replace(expected.find("old"), 3, "new");
    EXPECT_EQ(ReadBytes(file), expected);
}

TEST_P(SettingsStoreContract, Write_RefusesLineBreaksAndNul_AndKeepsTheFile) {
    const std::string nul(1, '\0');
    const std::vector<std::vector<std::string>> refused = {
        {"s\n[t]", "k", "v"}, {"s", "k\r", "v"},     {"s", "k", "v\nk2=x"},
        {"s", "k", "v\r\n"},  {"s", "k" + nul, "v"}, {"s", "k", "v" + nul + "w"},
    };
    TempDir folder;
    const std::string file = folder.file("setting.ini");
    const std::string before = "[s]\nk=old\n";
    WriteBytes(file, before);
    auto store = GetParam().make();
    for (const auto& r : refused) {
        SCOPED_TRACE(r[0] + "|" + r[1] + "|" + r[2]);
        const SettingWrite write = store->write(file, r[0], r[1], r[2]);
        EXPECT_FALSE(write.written());
        EXPECT_FALSE(write.reason.empty());
        EXPECT_EQ(ReadBytes(file), before);
    }
}

TEST_P(SettingsStoreContract, Write_FailsWithAReason_WhereNoFileCanBe) {
    TempDir folder;
    const std::string plain = folder.file("plain.ini");
    WriteBytes(plain, "[s]\nk=old\n");
    auto store = GetParam().make();
    for (const std::string& file :
         {folder.file("missing") + "/setting.ini", plain + "/setting.ini", folder.path()}) {
        SCOPED_TRACE(file);
        const SettingWrite write = store->write(file, "s", "k", "new");
        EXPECT_FALSE(write.written());
        EXPECT_FALSE(write.reason.empty());
    }
    EXPECT_FALSE(store->exists(folder.file("missing")));
    EXPECT_EQ(ReadBytes(plain), "[s]\nk=old\n");
}

TEST_P(SettingsStoreContract, MakeFolder_MakesEveryLevel_AndLeavesAnExistingOne) {
    TempDir folder;
    const std::string nested = folder.file("a") + "/b/c";
    auto store = GetParam().make();
    EXPECT_FALSE(store->exists(nested));
    EXPECT_TRUE(store->makeFolder(nested).written());
    EXPECT_TRUE(store->exists(nested));
    EXPECT_TRUE(store->makeFolder(nested).written());
    EXPECT_TRUE(store->write(nested + "/setting.ini", "s", "k", "v").written());

    const std::string plain = folder.file("plain");
    WriteBytes(plain, "x");
    const SettingWrite through = store->makeFolder(plain + "/sub");
    EXPECT_FALSE(through.written());
    EXPECT_FALSE(through.reason.empty());
}

}  // namespace
}  // namespace talvane::contract
