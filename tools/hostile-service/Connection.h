#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace talvane::hostile {

// One accepted TCP connection, closed when the object goes.
class Connection {
  public:
    explicit Connection(int fd) : fd_(fd) {}
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The request line of the next request ("GET /path HTTP/1.1"), once its
    // whole head has arrived. nullopt when the peer closed first or the
    // head grew beyond 64 KiB.
    std::optional<std::string> readRequestHead();

    // False once the peer is gone; never raises SIGPIPE.
    bool sendAll(std::string_view bytes);

    // Waits until the peer closes the connection (true) or the time is up.
    bool waitForPeerClose(std::chrono::milliseconds timeout);

    // Drops the connection with a TCP reset instead of an orderly close.
    void reset();

  private:
    int fd_;
    std::string pending_;  // bytes after the last head read
};

// "/path?query" from "GET /path?query HTTP/1.1"; empty when malformed.
std::string requestTarget(std::string_view requestLine);

}  // namespace talvane::hostile
