#pragma once

#include <optional>
#include <string>
#include <vector>

namespace talvane::bench {

struct ProbeOptions {
    std::string label = "program";
    double timeoutSeconds = 20;
    double pollMs = 2;
    std::optional<double> memoryAfterSeconds;  // sample memory this long after the icon is drawn
    std::optional<double> settleSeconds;  // then wait this long more (idle helper threads expire)
    std::optional<double> idleSeconds;    // then count CPU time and wake-ups over this long
    std::optional<std::string>
        rssByMappingFile;  // with the memory sample: resident KiB per mapped file
    // Measure the process of this program name rather than the one started:
    // `wine talvane.exe` leaves the program in a process of Wine's making.
    std::optional<std::string> processName;
    std::vector<std::string> command;
};

// Parses "[options] -- command [arguments...]". nullopt with a message in
// `error` for an unknown option, a bad number or a missing command.
std::optional<ProbeOptions> ParseProbeOptions(const std::vector<std::string>& args,
                                              std::string& error);

inline constexpr const char* kProbeUsage =
    "usage: talvane-bench-probe [--label NAME] [--timeout S] [--poll-ms MS] [--memory-after S] "
    "[--settle S] [--idle S]"
    " [--rss-by-mapping FILE] [--process NAME] -- COMMAND [ARGS...]\n"
    "Starts COMMAND, reports when its tray icon is mapped and drawn (ms from exec), optionally its "
    "memory\n"
    "S seconds later and its CPU time and wake-ups over an idle window, then ends it with "
    "SIGTERM.\n"
    "--process NAME measures and ends the process whose program is NAME instead of COMMAND's "
    "own.\n";

}  // namespace talvane::bench
