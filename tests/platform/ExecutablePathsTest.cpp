#include "platform/linux/ExecutablePaths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "tests/platform/TestFiles.h"

namespace talvane {
namespace {

TEST(ExecutablePaths, DirectoryOf_KeepsTheRootAsSlash) {
    EXPECT_EQ(ExecutablePaths::directoryOf("/usr/bin/talvane"), "/usr/bin");
    EXPECT_EQ(ExecutablePaths::directoryOf("/talvane"), "/");
    EXPECT_EQ(ExecutablePaths::directoryOf("/opt/app/talvane (deleted)"), "/opt/app");
}

TEST(ExecutablePaths, ApplicationDirectory_ReadsTheLink_OfAnyLength) {
    testing::TempDir dir;
    const std::string link = dir.file("exe");
    const std::string deep = "/opt/" + std::string(300, 'd') + "/bin";
    ASSERT_EQ(::symlink((deep + "/talvane").c_str(), link.c_str()), 0);
    EXPECT_EQ(ExecutablePaths(link).applicationDirectory(), deep);

    const std::string rootLink = dir.file("root-exe");
    ASSERT_EQ(::symlink("/talvane", rootLink.c_str()), 0);
    EXPECT_EQ(ExecutablePaths(rootLink).applicationDirectory(), "/");

    EXPECT_EQ(ExecutablePaths(dir.file("missing")).applicationDirectory(), ".");
    EXPECT_EQ(ExecutablePaths().applicationDirectory().front(), '/');
}

}  // namespace
}  // namespace talvane
