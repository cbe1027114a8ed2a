#include "tools/hostile-service/Connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace talvane::hostile {
namespace {

constexpr std::size_t kMaxHeadBytes = 64 * 1024;

}  // namespace

Connection::~Connection() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<std::string> Connection::readRequestHead() {
    for (;;) {
        const std::size_t end = pending_.find("\r\n\r\n");
        if (end != std::string::npos) {
            const std::string head = pending_.substr(0, end);
            pending_.erase(0, end + 4);
            return head.substr(0, head.find("\r\n"));
        }
        if (pending_.size() > kMaxHeadBytes) return std::nullopt;
        char chunk[4096];
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt;
        pending_.append(chunk, static_cast<std::size_t>(got));
    }
}

bool Connection::sendAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

bool Connection::waitForPeerClose(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd watch{fd_, POLLIN | POLLRDHUP, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return true;
        if (ready == 0) return false;
        if (watch.revents & (POLLRDHUP | POLLHUP | POLLERR)) return true;
        // More request bytes: read and drop them, the answer stays away.
        char chunk[4096];
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got == 0 || (got < 0 && errno != EINTR)) return true;
    }
}

void Connection::reset() {
    const linger abortive{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    ::close(fd_);
    fd_ = -1;
}

std::string requestTarget(std::string_view requestLine) {
    const std::size_t first = requestLine.find(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t second = requestLine.find(' ', first + 1);
    if (second == std::string_view::npos) return {};
    return std::string(requestLine.substr(first + 1, second - first - 1));
}

}  // namespace talvane::hostile
