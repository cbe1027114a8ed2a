#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace talvane::hostile {

// One line per connection event, flushed at once, for the tests to read:
//   <milliseconds since the epoch> <connection number> <event> <detail>
// Events: accept, request (detail: the target), end (detail: how it ended).
// Wall-clock time, so that a test can set the lines beside its own
// observations.
class ConnectionLog {
  public:
    ConnectionLog() = default;
    ~ConnectionLog();
    ConnectionLog(const ConnectionLog&) = delete;
    ConnectionLog& operator=(const ConnectionLog&) = delete;

    // Appends to path; false when it cannot be opened. Without a file the
    // log writes nothing.
    bool open(const std::string& path);
    void write(int connection, std::string_view event, std::string_view detail = {});

  private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
};

}  // namespace talvane::hostile
