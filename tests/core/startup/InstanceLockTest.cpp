#include "platform/linux/FlockInstanceLock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
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

TEST(FlockInstanceLock, ALaterStartAsksTheHolderOnce_OverASocketOnlyTheUserCanUse) {
    const std::string path = TempLockPath() + ".lock";
    const std::string socket = FlockInstanceLock::RequestSocketPath(path);
    {
        FlockInstanceLock first(path);
        int shown = 0;
        first.onShowRequest = [&shown] { ++shown; };
        first.serveShowRequests();  // nobody asked yet
        EXPECT_EQ(shown, 0);
        struct stat info {};
        ASSERT_EQ(::stat(socket.c_str(), &info), 0);
        EXPECT_TRUE(S_ISSOCK(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0600u);

        const pid_t child = ::fork();
        if (child == 0) {
            FlockInstanceLock second(path);
            second.askEarlierInstanceToShow();
            ::_exit(second.earlierInstanceRunning() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        first.serveShowRequests();
        EXPECT_EQ(shown, 1);
        first.serveShowRequests();  // the request was taken
        EXPECT_EQ(shown, 1);
    }
    EXPECT_FALSE(std::filesystem::exists(socket));  // the holder takes its socket with it
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
