#include "platform/linux/ExecutablePaths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/platform/TestFiles.h"

namespace talvane {
namespace {

TEST(ExecutablePaths, ApplicationDirectory_IsTheLinkTargetsFolder_RootIncluded) {
    testing::TempDir dir;
    const auto folderFor = [&](const std::string& target) {
        const std::string link = dir.file("exe");
        ::unlink(link.c_str());
        EXPECT_EQ(::symlink(target.c_str(), link.c_str()), 0);
        return ExecutablePaths(link).applicationDirectory();
    };
    EXPECT_EQ(folderFor("/usr/bin/talvane"), "/usr/bin");
    EXPECT_EQ(folderFor("/talvane"), "/");
    EXPECT_EQ(folderFor("/opt/app/talvane (deleted)"), "/opt/app");
    const std::string deep = "/opt/" + std::string(300, 'd');  // longer than the first try
    EXPECT_EQ(folderFor(deep + "/talvane"), deep);

    // Unknown is empty, never the current folder.
    EXPECT_EQ(ExecutablePaths(dir.file("missing")).applicationDirectory(), "");
    EXPECT_EQ(folderFor("relative/talvane"), "");
    EXPECT_EQ(ExecutablePaths().applicationDirectory().front(), '/');
}

}  // namespace
}  // namespace talvane
