#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace talvane::testing {

namespace detail {
// A TCP socket bound to 127.0.0.1 on an ephemeral port; -1 on failure.
inline int BindLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(addr.sin_port);
    return fd;
}
}  // namespace detail

// "http://127.0.0.1:<port>", as a service base URL.
inline std::u16string LoopbackUrl(int port) {
    const std::string url = "http://127.0.0.1:" + std::to_string(port);
    return std::u16string(url.begin(), url.end());
}

// A port on 127.0.0.1 where nothing listens: connecting is refused.
inline int UnusedLoopbackPort() {
    int port = -1;
    const int fd = detail::BindLoopback(port);
    if (fd >= 0) ::close(fd);
    return port;
}

// Accepts connections in the kernel's backlog and never answers them: a
// service that hangs after the connection is made.
class SilentListener {
  public:
    SilentListener() {
        fd_ = detail::BindLoopback(port_);
        if (fd_ >= 0 && ::listen(fd_, 8) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~SilentListener() {
        if (fd_ >= 0) ::close(fd_);
    }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    bool ok() const { return fd_ >= 0; }
    std::u16string baseUrl() const { return LoopbackUrl(port_); }

  private:
    int fd_ = -1;
    int port_ = -1;
};

}  // namespace talvane::testing
