#include "tools/hostile-service/ConnectionLog.h"

#include <chrono>

namespace talvane::hostile {

ConnectionLog::~ConnectionLog() {
    if (file_ != nullptr) std::fclose(file_);
}

bool ConnectionLog::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "a");
    return file_ != nullptr;
}

void ConnectionLog::write(int connection, std::string_view event, std::string_view detail) {
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    std::string line = std::to_string(now) + " " + std::to_string(connection) + " ";
    line.append(event);
    if (!detail.empty()) {
        line += ' ';
        // One event, one line, whatever a request target holds.
        for (const char c : detail) {
            line += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        }
    }
    line += '\n';
    const std::lock_guard<std::mutex> lock(mutex_);
    if (file_ == nullptr) return;
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace talvane::hostile
