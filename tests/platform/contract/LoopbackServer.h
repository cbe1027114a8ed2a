#pragma once

// A scripted TCP server on a loopback address for the HTTP contract. Plain
// sockets rather than an HTTP library: the same suite runs against the
// Windows client, cross-built and run under Wine, and the cases need
// servers that misbehave (stay silent, trickle, lie about lengths) in ways
// an HTTP library will not.

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace talvane::contract {

#ifdef _WIN32
using SocketHandle = SOCKET;
constexpr SocketHandle kNoSocket = INVALID_SOCKET;
inline void CloseSocket(SocketHandle s) { ::closesocket(s); }
#else
using SocketHandle = int;
constexpr SocketHandle kNoSocket = -1;
inline void CloseSocket(SocketHandle s) { ::close(s); }
#endif

// Whether the last failed receive ran out of its SO_RCVTIMEO.
inline bool TimedOut() {
#ifdef _WIN32
    return ::WSAGetLastError() == WSAETIMEDOUT;
#else
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
#endif
}

// Winsock wants one start-up per process before any socket call.
inline bool SocketsReady() {
#ifdef _WIN32
    static const bool ready = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
#else
    return true;
#endif
}

// A socket bound to host:port (port 0: any); kNoSocket when that fails.
inline SocketHandle BindTcp(const char* host, int& port) {
    if (!SocketsReady()) return kNoSocket;
    SocketHandle s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s == kNoSocket) return kNoSocket;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<unsigned short>(port));
    ::inet_pton(AF_INET, host, &addr.sin_addr);
    socklen_t length = sizeof addr;
    if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
        CloseSocket(s);
        return kNoSocket;
    }
    port = ntohs(addr.sin_port);
    return s;
}

// A port on 127.0.0.1 where nothing listens: connecting is refused.
inline int RefusingPort() {
    int port = 0;
    const SocketHandle s = BindTcp("127.0.0.1", port);
    if (s == kNoSocket) return -1;
    CloseSocket(s);
    return port;
}

// One accepted connection, as the server's script sees it.
class Exchange {
  public:
    Exchange(SocketHandle s, const std::atomic<bool>& stopping) : socket_(s), stopping_(stopping) {
        // A script never waits long for a client that stopped talking.
#ifdef _WIN32
        const DWORD ms = 3000;
        ::setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms),
                     sizeof ms);
#else
        const timeval tv{3, 0};
        ::setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
#endif
    }

    // The request line and headers, up to the blank line (or whatever came
    // before the client closed or went quiet).
    std::string readHead() {
        std::string head;
        char c;
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
            if (::recv(socket_, &c, 1, 0) != 1) break;
            head.push_back(c);
        }
        return head;
    }

    bool send(std::string_view bytes) {
        while (!bytes.empty()) {
            const auto n = ::send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0);
            if (n <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    // Keeps the connection open without a word until the server stops or
    // `limit` has passed.
    void idle(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!stopping_ && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    bool stopping() const { return stopping_; }

    // Whether the client closes its side within `limit` (reads and drops
    // whatever else it sends).
    bool closedByClientWithin(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        char sink[512];
        while (!stopping_ && std::chrono::steady_clock::now() < end) {
            const auto n = ::recv(socket_, sink, sizeof sink, 0);
            if (n == 0) return true;
            if (n < 0 && !TimedOut()) return true;  // reset: closed as well
        }
        return false;
    }

    // Ends the response and waits for the client to close its side: closing
    // at once could reset the connection before the client read the answer.
    void finish() {
#ifdef _WIN32
        ::shutdown(socket_, SD_SEND);
#else
        ::shutdown(socket_, SHUT_WR);
#endif
        char sink[512];
        while (::recv(socket_, sink, sizeof sink, 0) > 0) {
        }
    }

  private:
    SocketHandle socket_;
    const std::atomic<bool>& stopping_;
};

// Serves one connection at a time with `script`, from its own thread, and
// records the head of every request it read.
class LoopbackServer {
  public:
    using Script = std::function<void(Exchange&, const std::string& head)>;

    explicit LoopbackServer(Script script, const char* host = "127.0.0.1", int port = 0)
        : script_(std::move(script)), host_(host) {
        listener_ = BindTcp(host, port);
        if (listener_ != kNoSocket && ::listen(listener_, 16) != 0) {
            CloseSocket(listener_);
            listener_ = kNoSocket;
        }
        port_ = port;
        if (listener_ != kNoSocket) thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        if (listener_ == kNoSocket) return;
        stopping_ = true;
        // accept() is woken by a connection of our own: closing the listener
        // from another thread does not wake it on every system.
        const SocketHandle wake = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<unsigned short>(port_));
        ::inet_pton(AF_INET, host_.c_str(), &addr.sin_addr);
        ::connect(wake, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        thread_.join();
        CloseSocket(wake);
        CloseSocket(listener_);
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool ok() const { return listener_ != kNoSocket; }
    int port() const { return port_; }
    // "http://<host>:<port>" followed by `path`.
    std::u16string url(std::string_view path = "/") const {
        const std::string url = "http://" + host_ + ":" + std::to_string(port_) + std::string(path);
        return std::u16string(url.begin(), url.end());
    }
    std::vector<std::string> heads() const {
        std::lock_guard lock(mutex_);
        return heads_;
    }

  private:
    void serve() {
        for (;;) {
            const SocketHandle s = ::accept(listener_, nullptr, nullptr);
            if (stopping_) {
                if (s != kNoSocket) CloseSocket(s);
                return;
            }
            if (s == kNoSocket) continue;
            Exchange exchange(s, stopping_);
            const std::string head = exchange.readHead();
            {
                std::lock_guard lock(mutex_);
                heads_.push_back(head);
            }
            script_(exchange, head);
            exchange.finish();
            CloseSocket(s);
        }
    }

    Script script_;
    std::string host_;
    SocketHandle listener_ = kNoSocket;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<std::string> heads_;
};

// The request target of a head: "GET /a%20b HTTP/1.1" gives "/a%20b".
inline std::string RequestTarget(const std::string& head) {
    const auto first = head.find(' ');
    const auto second = head.find(' ', first + 1);
    if (first == std::string::npos || second == std::string::npos) return {};
    return head.substr(first + 1, second - first - 1);
}

// The value of a header (name matched without regard to case), or "" when
// absent; `present` tells the two apart.
inline std::string HeaderValue(const std::string& head, std::string_view name,
                               bool* present = nullptr) {
    auto lower = [](std::string s) {
        for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        return s;
    };
    const std::string text = lower(head);
    const std::string key = "\r\n" + lower(std::string(name)) + ":";
    const auto at = text.find(key);
    if (present) *present = at != std::string::npos;
    if (at == std::string::npos) return {};
    auto begin = at + key.size();
    while (begin < head.size() && head[begin] == ' ') ++begin;
    return head.substr(begin, head.find("\r\n", begin) - begin);
}

}  // namespace talvane::contract
