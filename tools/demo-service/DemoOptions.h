#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvane::demo {

struct DemoOptions {
    int port = 8765;  // 0: the system picks a free port
    std::string bindAddress = "127.0.0.1";
    std::optional<std::string> dataFile;
    std::optional<std::string> logFile;
    bool help = false;
};

struct DemoOptionsResult {
    bool ok = false;
    DemoOptions options;
    std::string error;  // one line, when !ok
};

// The arguments after the program name.
DemoOptionsResult parseDemoOptions(const std::vector<std::string_view>& args);

extern const char* const kDemoUsage;

}  // namespace talvane::demo
