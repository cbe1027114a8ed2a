#pragma once

#include <ctime>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>

namespace talvane::demo {

// "2026-12-07T14:03:05 GET /EndUsers/visit.aspx?id=unknown%20value&sjs=123":
// local time, method, and the request target exactly as it arrived.
std::string requestLogLine(std::time_t when, std::string_view method, std::string_view target);

// Writes each line to standard output and, once opened, appends it to a
// file, flushing both so that a reader sees the line before the response.
class RequestLog {
  public:
    bool openFile(const std::string& path);
    void write(const std::string& line);

  private:
    std::mutex mutex_;
    std::ofstream file_;
};

}  // namespace talvane::demo
