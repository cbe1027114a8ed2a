#include "platform/linux/FlockInstanceLock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

namespace talvane {
namespace {

std::string TempLockPath() {
    return (std::filesystem::temp_directory_path() /
            ("talvane-lock-test-" + std::to_string(::getpid())))
        .string();
}

TEST(FlockInstanceLock, OnlyTheFirstHolderRuns_AndTheLockIsFreeAgainOnceItEnds) {
    const std::string path = TempLockPath();
    auto first = std::make_unique<FlockInstanceLock>(path);
    EXPECT_FALSE(first->earlierInstanceRunning());
    // Another process sees the lock taken.
    const pid_t child = ::fork();
    if (child == 0) {
        FlockInstanceLock second(path);
        ::_exit(second.earlierInstanceRunning() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    first.reset();
    FlockInstanceLock third(path);
    EXPECT_FALSE(third.earlierInstanceRunning());
    std::filesystem::remove(path);
}

TEST(FlockInstanceLock, DefaultPathIsPrivateToTheUser_AndIndependentOfTheEnvironment) {
    const std::string path = FlockInstanceLock::DefaultLockPath();
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.find(std::to_string(::getuid())), std::string::npos);
    ::setenv("XDG_RUNTIME_DIR", "/nonexistent", 1);
    EXPECT_EQ(FlockInstanceLock::DefaultLockPath(), path);
}

}  // namespace
}  // namespace talvane
