#include "tests/tools/demo-service/ServiceProcess.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

extern char** environ;

namespace talvane::testing {

ServiceProcess::ServiceProcess(std::vector<std::string> args) {
    args.insert(args.begin(), TALVANE_DEMO_SERVICE);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    stdout_ = out[0];
    stderr_ = err[0];
    if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
}

ServiceProcess::~ServiceProcess() {
    if (!exited_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    close(stdout_);
    close(stderr_);
}

void ServiceProcess::drain(int fd, std::string& into, std::chrono::milliseconds limit) {
    pollfd watched{fd, POLLIN, 0};
    while (poll(&watched, 1, static_cast<int>(limit.count())) > 0) {
        char buffer[4096];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) return;
        into.append(buffer, static_cast<std::size_t>(got));
        limit = std::chrono::milliseconds(0);
    }
}

std::optional<int> ServiceProcess::waitUntilListening(std::chrono::milliseconds limit) {
    const std::string prefix = "listening on http://127.0.0.1:";
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto end = out_.find('\n');
        if (end != std::string::npos) {
            if (out_.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
            return std::stoi(out_.substr(prefix.size(), end - prefix.size()));
        }
        pollfd watched{stdout_, POLLIN, 0};
        if (poll(&watched, 1, 20) > 0) {
            char buffer[256];
            const ssize_t got = read(stdout_, buffer, sizeof buffer);
            if (got <= 0) return std::nullopt;
            out_.append(buffer, static_cast<std::size_t>(got));
        }
    }
    return std::nullopt;
}

void ServiceProcess::signal(int number) { kill(pid_, number); }

std::optional<int> ServiceProcess::waitForExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!exited_) {
        const pid_t done = waitpid(pid_, &status_, WNOHANG);
        if (done == pid_) {
            exited_ = true;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!WIFEXITED(status_)) return std::nullopt;
    return WEXITSTATUS(status_);
}

std::string ServiceProcess::standardOutput() {
    drain(stdout_, out_, std::chrono::milliseconds(exited_ ? 100 : 0));
    return out_;
}

std::string ServiceProcess::standardError() {
    drain(stderr_, err_, std::chrono::milliseconds(exited_ ? 100 : 0));
    return err_;
}

}  // namespace talvane::testing
