#include "tools/demo-service/DemoOptions.h"

#include <charconv>

namespace talvane::demo {

const char* const kDemoUsage =
    "usage: talvane-demo-service [--port N] [--bind ADDR] [--data FILE] [--log FILE]\n"
    "  --port N     port to listen on (default 8765; 0 picks a free one)\n"
    "  --bind ADDR  address to listen on (default 127.0.0.1)\n"
    "  --data FILE  seminars and reminders (default demo-data.txt beside the program)\n"
    "  --log FILE   also append one line per request to FILE\n";

namespace {

std::optional<int> parsePort(std::string_view text) {
    int port = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

}  // namespace

DemoOptionsResult parseDemoOptions(const std::vector<std::string_view>& args) {
    DemoOptionsResult result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view option = args[i];
        if (option == "--help" || option == "-h") {
            result.options.help = true;
            continue;
        }
        if (option != "--port" && option != "--bind" && option != "--data" && option != "--log") {
            result.error = "unknown option '" + std::string(option) + "'";
            return result;
        }
        if (i + 1 == args.size()) {
            result.error = "option " + std::string(option) + " needs a value";
            return result;
        }
        const std::string_view value = args[++i];
        if (option == "--port") {
            const auto port = parsePort(value);
            if (!port) {
                result.error =
                    "--port takes a number from 0 to 65535, not '" + std::string(value) + "'";
                return result;
            }
            result.options.port = *port;
        } else if (value.empty()) {
            result.error = "option " + std::string(option) + " needs a value";
            return result;
        } else if (option == "--bind") {
            result.options.bindAddress = value;
        } else if (option == "--data") {
            result.options.dataFile = std::string(value);
        } else {
            result.options.logFile = std::string(value);
        }
    }
    result.ok = true;
    return result;
}

}  // namespace talvane::demo
