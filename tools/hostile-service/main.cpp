// talvane-hostile-service: a service on 127.0.0.1 that misbehaves in one
// chosen way, for testing the notifier against it. See README.md.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "tools/hostile-service/ConnectionLog.h"
#include "tools/hostile-service/HostileMode.h"
#include "tools/hostile-service/HostileServer.h"

namespace {

using namespace talvane::hostile;

struct Options {
    HostileMode mode = HostileMode::Silent;
    int port = 0;
    std::string logPath;
    std::uint64_t seed = 1;
};

void usage(std::FILE* out) {
    std::fprintf(out,
                 "Usage: talvane-hostile-service --mode MODE [--port N] [--log FILE] [--seed N]\n"
                 "Serves misbehaving answers on 127.0.0.1 (port 0: a free one).\n"
                 "Modes: %.*s\n",
                 static_cast<int>(kHostileModeNames.size()), kHostileModeNames.data());
}

std::optional<long> number(std::string_view text, long low, long high) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

// nullopt after printing why (or the usage for --help, with status 0).
std::optional<Options> parse(int argc, char** argv, int& status) {
    Options options;
    bool modeGiven = false;
    status = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help") {
            usage(stdout);
            status = 0;
            return std::nullopt;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "talvane-hostile-service: %s needs a value\n", argv[i]);
            return std::nullopt;
        }
        const std::string_view value = argv[++i];
        if (option == "--mode") {
            const auto mode = parseHostileMode(value);
            if (!mode) {
                std::fprintf(stderr, "talvane-hostile-service: unknown mode %s\n", argv[i]);
                return std::nullopt;
            }
            options.mode = *mode;
            modeGiven = true;
        } else if (option == "--port") {
            const auto port = number(value, 0, 65535);
            if (!port) {
                std::fprintf(stderr, "talvane-hostile-service: bad port %s\n", argv[i]);
                return std::nullopt;
            }
            options.port = static_cast<int>(*port);
        } else if (option == "--log") {
            options.logPath = value;
        } else if (option == "--seed") {
            const auto seed = number(value, 0, 999999999999999999L);
            if (!seed) {
                std::fprintf(stderr, "talvane-hostile-service: bad seed %s\n", argv[i]);
                return std::nullopt;
            }
            options.seed = static_cast<std::uint64_t>(*seed);
        } else {
            std::fprintf(stderr, "talvane-hostile-service: unknown option %s\n", argv[i - 1]);
            return std::nullopt;
        }
    }
    if (!modeGiven) {
        usage(stderr);
        return std::nullopt;
    }
    return options;
}

int listenOnLoopback(std::uint32_t address, int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(address);
    where.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::bind(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
        ::listen(fd, 64) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int boundPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

constexpr std::uint32_t kOtherLoopback = 0x7F000002;  // 127.0.0.2

HostileSetup setup;

// Serves every connection of a listener on a thread of its own.
void acceptForever(int listener, void (*serve)(int, int, const HostileSetup&)) {
    std::thread([listener, serve] {
        for (int connection = 1;; ++connection) {
            const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                // Out of descriptors, for one: let connections finish first.
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            std::thread(serve, fd, connection, std::cref(setup)).detach();
        }
    }).detach();
}

}  // namespace

int main(int argc, char** argv) {
    // Only the waiter at the end sees the stop signals; the connection
    // threads inherit the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    int status = 0;
    const std::optional<Options> options = parse(argc, argv, status);
    if (!options) return status;

    static ConnectionLog log;
    if (!options->logPath.empty() && !log.open(options->logPath)) {
        std::fprintf(stderr, "talvane-hostile-service: cannot open %s\n", options->logPath.c_str());
        return 1;
    }
    setup.mode = options->mode;
    setup.seed = options->seed;
    setup.log = &log;

    const int listener = listenOnLoopback(INADDR_LOOPBACK, options->port);
    if (listener < 0) {
        std::fprintf(stderr, "talvane-hostile-service: cannot listen on port %d\n", options->port);
        return 1;
    }
    if (needsOtherOrigin(options->mode)) {
        // Another host on the same port, so that only the host differs.
        const int port = boundPort(listener);
        int other = listenOnLoopback(kOtherLoopback, port);
        if (other < 0) other = listenOnLoopback(kOtherLoopback, 0);
        if (other < 0) {
            std::fprintf(stderr, "talvane-hostile-service: cannot listen on 127.0.0.2\n");
            return 1;
        }
        setup.otherOrigin = "http://127.0.0.2:" + std::to_string(boundPort(other));
        std::printf("other origin %s\n", setup.otherOrigin.c_str());
        acceptForever(other, serveOtherOrigin);
    }
    setup.page = bodyFor(options->mode, options->seed, setup.otherOrigin);
    std::printf("listening on http://127.0.0.1:%d mode %.*s\n", boundPort(listener),
                static_cast<int>(hostileModeName(options->mode).size()),
                hostileModeName(options->mode).data());
    std::fflush(stdout);

    acceptForever(listener, serveConnection);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    // Connections may still be mid-answer; nothing of theirs needs tidying.
    std::fflush(nullptr);
    std::_Exit(0);
}
