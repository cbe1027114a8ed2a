#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/linux/FlockInstanceLock.h"

namespace talvane {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the real program with only PATH and HOME (and `extraEnv`) in its
// environment: no display of any kind, so a start that reached the toolkit
// would fail.
Outcome RunTalvane(const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv = {}) {
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        std::vector<char*> argv{const_cast<char*>(TALVANE_BINARY)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        char path[] = "PATH=/usr/bin:/bin";
        char home[] = "HOME=/nonexistent";
        std::vector<char*> env{path, home};
        for (const std::string& e : extraEnv) env.push_back(const_cast<char*>(e.c_str()));
        env.push_back(nullptr);
        ::execve(TALVANE_BINARY, argv.data(), env.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    Outcome result;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int open = 2;
    while (open > 0 && std::chrono::steady_clock::now() < deadline) {
        if (::poll(fds, 2, 100) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    if (open > 0) ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

// While another instance holds the lock a normal start ends silently with
// 0, and without a display it fails with 1: the answers below can only
// come from handling the arguments before either.
class Arguments : public ::testing::Test {
  protected:
    FlockInstanceLock heldByThisTest_;
};

TEST_F(Arguments, VersionAndHelpAnswerWithoutLockOrDisplay) {
    const Outcome version = RunTalvane({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out,
              "talvane " TALVANE_EXPECTED_VERSION "\nservice " TALVANE_EXPECTED_SERVICE "\n");
    EXPECT_EQ(version.err, "");

    const Outcome help = RunTalvane({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: talvane [--help | --version]\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos);
    EXPECT_EQ(help.err, "");
}

TEST_F(Arguments, AnythingElseIsOneLineOnStderrAndStatus2) {
    const std::vector<std::vector<std::string>> wrong = {
        {"--bogus"},
        {"-version"},
        {"--VERSION"},
        {""},
        {"--version", "extra"},
        {"--help", "--version"},
        {"-platform", "offscreen"},
        {"status"},
    };
    for (const auto& args : wrong) {
        const Outcome o = RunTalvane(args);
        const std::string shown = args.front() + (args.size() > 1 ? " " + args[1] : "");
        EXPECT_EQ(o.status, 2) << shown;
        EXPECT_EQ(o.out, "") << shown;
        ASSERT_FALSE(o.err.empty()) << shown;
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << shown << ": " << o.err;
        EXPECT_EQ(o.err.rfind("talvane: ", 0), 0u) << o.err;
    }
    const Outcome bogus = RunTalvane({"--bogus"});
    EXPECT_NE(bogus.err.find("'--bogus'"), std::string::npos) << bogus.err;
    const Outcome extra = RunTalvane({"--version", "extra"});
    EXPECT_NE(extra.err.find("'extra'"), std::string::npos) << extra.err;
}

TEST_F(Arguments, ServiceAddressThatIsNoWebAddress_EndsTheStartWithStatus2BeforeTheLock) {
    // The lock is held, so a start that got past the check would end with
    // 0 and say nothing.
    for (const std::string bad : {"file:///etc", "/", "ftp://127.0.0.1/", "http://",
                                  "127.0.0.1:8765", "http://user@127.0.0.1/"}) {
        const Outcome o = RunTalvane({}, {"TALVANE_SERVICE_URL=" + bad});
        EXPECT_EQ(o.status, 2) << bad;
        EXPECT_EQ(o.out, "") << bad;
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
        EXPECT_EQ(o.err.rfind("talvane: TALVANE_SERVICE_URL ", 0), 0u) << o.err;
        EXPECT_NE(o.err.find("'" + bad + "'"), std::string::npos) << o.err;
    }
    const Outcome good = RunTalvane({}, {"TALVANE_SERVICE_URL=https://seminars.example.test/"});
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.out + good.err, "");
}

TEST_F(Arguments, PlainStartStillMeetsTheLockFirst) {
    // Guards the reasoning above: with the lock held, no arguments means a
    // silent end, not the display error.
    const Outcome plain = RunTalvane({});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.out + plain.err, "");
}

}  // namespace
}  // namespace talvane
