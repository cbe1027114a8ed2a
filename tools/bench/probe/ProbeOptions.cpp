#include "tools/bench/probe/ProbeOptions.h"

#include <charconv>

namespace talvane::bench {

namespace {

std::optional<double> positiveNumber(const std::string& text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value > 0)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<ProbeOptions> ParseProbeOptions(const std::vector<std::string>& args,
                                              std::string& error) {
    ProbeOptions options;
    std::size_t i = 0;
    for (; i < args.size() && args[i] != "--"; ++i) {
        const std::string& name = args[i];
        if (i + 1 >= args.size() || args[i + 1] == "--") {
            error = "option " + name + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (name == "--label") {
            options.label = value;
            continue;
        }
        if (name == "--process") {
            options.processName = value;
            continue;
        }
        if (name == "--rss-by-mapping") {
            options.rssByMappingFile = value;
            continue;
        }
        const auto number = positiveNumber(value);
        if (!number) {
            error = "option " + name + " needs a positive number, not \"" + value + "\"";
            return std::nullopt;
        }
        if (name == "--timeout") {
            options.timeoutSeconds = *number;
        } else if (name == "--poll-ms") {
            // Coarser polling would blur start-ups of a few tens of milliseconds.
            if (*number > 5) {
                error = "--poll-ms must be at most 5";
                return std::nullopt;
            }
            options.pollMs = *number;
        } else if (name == "--memory-after") {
            options.memoryAfterSeconds = number;
        } else if (name == "--settle") {
            options.settleSeconds = number;
        } else if (name == "--idle") {
            options.idleSeconds = number;
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
    }
    if (i + 1 >= args.size()) {
        error = "no command after --";
        return std::nullopt;
    }
    if (options.rssByMappingFile && !options.memoryAfterSeconds) {
        error = "--rss-by-mapping needs --memory-after";
        return std::nullopt;
    }
    options.command.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    return options;
}

}  // namespace talvane::bench
