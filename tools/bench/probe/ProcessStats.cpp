#include "tools/bench/probe/ProcessStats.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace talvane::bench {

namespace {

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::optional<std::int64_t> leadingNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) {
        ++start;
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data() + start) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<std::int64_t> ProcField(std::string_view text, std::string_view key) {
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) {
            lineEnd = text.size();
        }
        const std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (line.size() > key.size() && line.substr(0, key.size()) == key &&
            line[key.size()] == ':') {
            return leadingNumber(line.substr(key.size() + 1));
        }
        lineStart = lineEnd + 1;
    }
    return std::nullopt;
}

std::optional<std::int64_t> SchedstatRunNs(std::string_view text) { return leadingNumber(text); }

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// "7f2c1a000000-7f2c1a021000 r--p 00000000 08:01 1234   /usr/lib/x.so":
// the sixth column, which may itself contain spaces, or "" when absent.
std::optional<std::string> mappingName(std::string_view line) {
    const std::size_t dash = line.find('-');
    if (dash == 0 || dash == std::string_view::npos || !isHex(line[0])) {
        return std::nullopt;
    }
    std::size_t pos = 0;
    for (int column = 0; column < 5; ++column) {
        pos = line.find(' ', pos);
        if (pos == std::string_view::npos) {
            return column == 4 ? std::optional<std::string>("") : std::nullopt;
        }
        pos = line.find_first_not_of(' ', pos);
        if (pos == std::string_view::npos) {
            return column == 4 ? std::optional<std::string>("") : std::nullopt;
        }
    }
    return std::string(line.substr(pos));
}

}  // namespace

std::map<std::string, std::int64_t> RssByMapping(std::string_view smaps) {
    std::map<std::string, std::int64_t> rss;
    std::string current = "[anon]";
    std::size_t lineStart = 0;
    while (lineStart < smaps.size()) {
        std::size_t lineEnd = smaps.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) {
            lineEnd = smaps.size();
        }
        const std::string_view line = smaps.substr(lineStart, lineEnd - lineStart);
        if (const auto name = mappingName(line)) {
            current = name->empty() ? "[anon]" : *name;
        } else if (const auto kib = ProcField(line, "Rss")) {
            rss[current] += *kib;
        }
        lineStart = lineEnd + 1;
    }
    return rss;
}

std::string ProgramNameOf(std::string_view cmdline) {
    const std::string_view first = cmdline.substr(0, cmdline.find('\0'));
    const std::size_t slash = first.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? first : first.substr(slash + 1));
}

namespace {

bool sameFileName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::optional<pid_t> FindProcessByProgramName(std::string_view name) {
    std::error_code ec;
    std::optional<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        pid_t pid = 0;
        const std::string dir = entry.path().filename().string();
        const auto [end, parsed] = std::from_chars(dir.data(), dir.data() + dir.size(), pid);
        if (parsed != std::errc() || end != dir.data() + dir.size() || pid == getpid()) {
            continue;
        }
        const auto cmdline = readFile(entry.path() / "cmdline");
        if (cmdline && sameFileName(ProgramNameOf(*cmdline), name) && (!found || pid < *found)) {
            found = pid;
        }
    }
    return found;
}

std::optional<MemorySample> SampleMemory(pid_t pid) {
    const std::filesystem::path proc = "/proc/" + std::to_string(pid);
    const auto status = readFile(proc / "status");
    const auto rollup = readFile(proc / "smaps_rollup");
    if (!status || !rollup) {
        return std::nullopt;
    }
    const auto rss = ProcField(*status, "VmRSS");
    const auto pss = ProcField(*rollup, "Pss");
    const auto threads = ProcField(*status, "Threads");
    if (!rss || !pss || !threads) {
        return std::nullopt;
    }
    return MemorySample{*rss, *pss, static_cast<int>(*threads)};
}

std::optional<std::map<std::string, std::int64_t>> SampleRssByMapping(pid_t pid) {
    const auto smaps = readFile("/proc/" + std::to_string(pid) + "/smaps");
    if (!smaps) {
        return std::nullopt;
    }
    return RssByMapping(*smaps);
}

std::optional<CostSample> SampleCost(pid_t pid) {
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code ec;
    std::filesystem::directory_iterator it(tasks, ec);
    if (ec) {
        return std::nullopt;
    }
    CostSample sample;
    for (const auto& task : it) {
        const auto schedstat = readFile(task.path() / "schedstat");
        const auto status = readFile(task.path() / "status");
        if (!schedstat || !status) {
            continue;  // the thread ended while we looked
        }
        const auto ns = SchedstatRunNs(*schedstat);
        const auto switches = ProcField(*status, "voluntary_ctxt_switches");
        const auto tid = leadingNumber(task.path().filename().string());
        if (!ns || !switches || !tid) {
            continue;
        }
        sample.threads[static_cast<int>(*tid)] = ThreadCost{*ns, *switches};
    }
    if (sample.threads.empty()) {
        return std::nullopt;
    }
    return sample;
}

std::optional<FaultSample> StatFaults(std::string_view stat) {
    const std::size_t close = stat.rfind(')');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    // After the command: state ppid pgrp session tty_nr tpgid flags minflt
    // cminflt majflt, i.e. fields 10 and 12 of the whole line.
    std::string_view rest = stat.substr(close + 1);
    std::optional<std::int64_t> minor;
    std::optional<std::int64_t> major;
    for (int field = 3; field <= 12; ++field) {
        const std::size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) {
            return std::nullopt;
        }
        rest.remove_prefix(start);
        if (field == 10) minor = leadingNumber(rest);
        if (field == 12) major = leadingNumber(rest);
        const std::size_t end = rest.find(' ');
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    }
    if (!minor || !major) {
        return std::nullopt;
    }
    return FaultSample{*minor, *major};
}

std::optional<FaultSample> SampleFaults(pid_t pid) {
    const auto stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    return stat ? StatFaults(*stat) : std::nullopt;
}

CostDelta CostBetween(const CostSample& before, const CostSample& after) {
    CostDelta delta;
    for (const auto& [tid, now] : after.threads) {
        const auto earlier = before.threads.find(tid);
        if (earlier == before.threads.end()) {
            ++delta.threadsStarted;
            delta.cpuNs += now.cpuNs;
            delta.wakeups += now.wakeups;
        } else {
            delta.cpuNs += now.cpuNs - earlier->second.cpuNs;
            delta.wakeups += now.wakeups - earlier->second.wakeups;
        }
    }
    for (const auto& [tid, then] : before.threads) {
        if (after.threads.count(tid) == 0) {
            ++delta.threadsEnded;
        }
    }
    return delta;
}

}  // namespace talvane::bench
