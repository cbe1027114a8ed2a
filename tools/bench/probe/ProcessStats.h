#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace talvane::bench {

// The value of a "Key:   123 kB" or "key: 123" line of a /proc text file.
std::optional<std::int64_t> ProcField(std::string_view text, std::string_view key);

// First field of /proc/PID/task/TID/schedstat: nanoseconds spent on a CPU.
std::optional<std::int64_t> SchedstatRunNs(std::string_view text);

struct MemorySample {
    std::int64_t rssKib = 0;  // VmRSS
    std::int64_t pssKib = 0;  // Pss from smaps_rollup: shared pages divided among their users
    int threads = 0;
};

struct ThreadCost {
    std::int64_t cpuNs = 0;    // time on a CPU, from the scheduler (clock ticks read 0 when quiet)
    std::int64_t wakeups = 0;  // voluntary context switches
};

// The live threads of a process, by thread id.
struct CostSample {
    std::map<int, ThreadCost> threads;
};

struct CostDelta {
    std::int64_t cpuNs = 0;
    std::int64_t wakeups = 0;
    int threadsStarted = 0;
    // A thread that ends takes its counters with it, so what it did between
    // the two samples is missing from the sums; reported so that a reader
    // knows the figure is a lower bound.
    int threadsEnded = 0;
};

// Page faults of the whole process, ended threads included.
struct FaultSample {
    std::int64_t minor = 0;
    std::int64_t major = 0;  // the page had to be read from disk
};

// minflt and majflt of a /proc/PID/stat line, whose second field (the
// command in parentheses) may itself hold spaces and parentheses.
std::optional<FaultSample> StatFaults(std::string_view stat);

// What the process did between two samples, thread by thread: a thread in
// both counts its growth, a thread that started counts in full.
CostDelta CostBetween(const CostSample& before, const CostSample& after);

// Resident KiB per mapped file, from the text of /proc/PID/smaps. Mappings
// without a file count as "[anon]"; "[heap]", "[stack]" and the like keep
// their names.
std::map<std::string, std::int64_t> RssByMapping(std::string_view smaps);

// The file name of a process's program, from the text of /proc/PID/cmdline:
// the last part of its first argument after a '/' or a '\\'. A Windows
// program under Wine shows its Windows path there ("C:\\...\\talvane.exe").
std::string ProgramNameOf(std::string_view cmdline);

// A running process other than this one whose program name is `name` (case
// aside, as Windows file names go), the lowest id if several; or nullopt.
std::optional<pid_t> FindProcessByProgramName(std::string_view name);

std::optional<MemorySample> SampleMemory(pid_t pid);
std::optional<std::map<std::string, std::int64_t>> SampleRssByMapping(pid_t pid);
std::optional<CostSample> SampleCost(pid_t pid);
std::optional<FaultSample> SampleFaults(pid_t pid);

}  // namespace talvane::bench
