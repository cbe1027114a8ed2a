#include "tools/demo-service/RequestLog.h"

#include <cstdio>

namespace talvane::demo {

namespace {

// A target is one line of the log whatever a client sent in it.
std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string requestLogLine(std::time_t when, std::string_view method, std::string_view target) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    return std::string(stamp) + ' ' + printable(method) + ' ' + printable(target);
}

bool RequestLog::openFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    file_.open(path, std::ios::app | std::ios::binary);
    return file_.is_open();
}

void RequestLog::write(const std::string& line) {
    std::lock_guard lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (file_.is_open()) {
        file_ << line << '\n';
        file_.flush();
    }
}

}  // namespace talvane::demo
