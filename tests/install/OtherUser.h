#pragma once

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace talvane::testing {

// The tests run as root in CI, where every folder is writable. Permission
// checks therefore run in a forked child that has dropped to this user.
inline constexpr uid_t kOtherUser = 65534;

// Hands path to the user the child runs as (only needed as root).
inline void GiveToRunner(const std::string& path) {
    if (::geteuid() == 0) (void)::chown(path.c_str(), kOtherUser, kOtherUser);
}

// Runs body in a forked child, as kOtherUser when the test runs as root, and
// returns what body returned ("fork failed" or "child died" on trouble). The
// child touches no gtest state: the parent checks the answer.
inline std::string RunAsOtherUser(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    const pid_t pid = ::fork();
    if (pid < 0) return "fork failed";
    if (pid == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kOtherUser) != 0 ||
                                 ::setuid(kOtherUser) != 0)) {
            ::_exit(3);
        }
        const std::string answer = body();
        const char* data = answer.data();
        std::size_t left = answer.size();
        while (left > 0) {
            const ssize_t n = ::write(fds[1], data, left);
            if (n <= 0) ::_exit(4);
            data += n;
            left -= static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string answer;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? answer : "child died";
}

inline unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0xFFFFu;
}

}  // namespace talvane::testing
