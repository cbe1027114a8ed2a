#include "platform/linux/FlockInstanceLock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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

// The session's runtime folder when it is one: set, absolute, the user's and
// closed to everybody else. Otherwise the per-user place, whatever the
// variable says.
TEST(FlockInstanceLock, DefaultPathIsTheSessionsRuntimeFolder_WhenItIsPrivateToTheUser) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old ? old : "";
    ::unsetenv("XDG_RUNTIME_DIR");
    const std::string perUser = FlockInstanceLock::DefaultLockPath();
    ASSERT_FALSE(perUser.empty());
    EXPECT_NE(perUser.find(std::to_string(::getuid())), std::string::npos);

    const std::filesystem::path base = TempLockPath() + "-runtime";
    std::filesystem::create_directories(base);
    const std::string closed = (base / "closed").string();
    const std::string open = (base / "open").string();
    const std::string link = (base / "link").string();
    ::mkdir(closed.c_str(), 0700);
    ::mkdir(open.c_str(), 0755);
    ::chmod(open.c_str(), 0755);  // whatever the umask
    std::filesystem::create_directory_symlink(closed, link);

    struct Case {
        const char* what;
        std::string value;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"private", closed, closed + "/talvane.lock"},
        {"readable by others", open, perUser},
        {"missing", (base / "missing").string(), perUser},
        {"a link", link, perUser},
        {"relative", "closed", perUser},
        {"empty", "", perUser},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::setenv("XDG_RUNTIME_DIR", c.value.c_str(), 1);
        EXPECT_EQ(FlockInstanceLock::DefaultLockPath(), c.expected);
    }
    old ? ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(base);
}

}  // namespace
}  // namespace talvane
