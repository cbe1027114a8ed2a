// Starts one tray program on the current X display and measures it from the
// outside: exec to icon mapped and drawn, memory some seconds later, and
// CPU time and wake-ups over an idle window. Prints one line per figure.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tools/bench/probe/ProbeOptions.h"
#include "tools/bench/probe/ProcessStats.h"
#include "tools/bench/probe/TrayWatcher.h"

extern char** environ;

namespace {

using namespace talvane::bench;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start, Clock::time_point now) {
    return std::chrono::duration<double, std::milli>(now - start).count();
}

bool stillRunning(pid_t pid, int& status) { return waitpid(pid, &status, WNOHANG) == 0; }

void endProgram(pid_t pid) {
    int status = 0;
    if (!stillRunning(pid, status)) {
        return;
    }
    kill(pid, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < deadline) {
        if (!stillRunning(pid, status)) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

// A process that is not our child: gone once signal 0 no longer reaches it.
void endOtherProcess(pid_t pid) {
    kill(pid, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (kill(pid, 0) == 0) {
        if (Clock::now() >= deadline) {
            kill(pid, SIGKILL);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The process to measure: the one started, or the one of the program name
// it handed over to (looked for during 2 s); -1 when there is none.
pid_t measuredProcess(pid_t started, const ProbeOptions& options) {
    if (!options.processName) {
        return started;
    }
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (const auto found = FindProcessByProgramName(*options.processName)) {
            return *found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

// Ends the measured process first (`wine` may wait for it), then the one
// started.
void endMeasured(pid_t started, pid_t measured) {
    if (measured > 0 && measured != started) {
        endOtherProcess(measured);
    }
    endProgram(started);
}

pid_t spawn(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& arg : command) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    return pid;
}

struct StartupResult {
    bool ok = false;
    double mappedMs = -1;
    double drawnMs = -1;
    int polls = 0;
    xcb_window_t icon = XCB_NONE;
    std::string failure;
};

StartupResult watchStartup(TrayWatcher& watcher, pid_t pid, Clock::time_point start,
                           const ProbeOptions& options) {
    StartupResult result;
    const auto interval = std::chrono::duration<double, std::milli>(options.pollMs);
    const auto deadline = start + std::chrono::duration<double>(options.timeoutSeconds);
    auto next = start;
    for (;;) {
        const IconObservation seen = watcher.poll();
        const auto now = Clock::now();
        ++result.polls;
        if (seen.stage >= IconStage::Mapped && result.mappedMs < 0) {
            result.mappedMs = msSince(start, now);
        }
        if (seen.stage == IconStage::Drawn) {
            result.drawnMs = msSince(start, now);
            result.icon = seen.window;
            result.ok = true;
            return result;
        }
        int status = 0;
        if (!stillRunning(pid, status)) {
            result.failure = "program ended before its icon was drawn";
            return result;
        }
        if (now >= deadline) {
            result.failure = "no drawn icon within the time-out";
            return result;
        }
        next += std::chrono::duration_cast<Clock::duration>(interval);
        if (next > now) {
            std::this_thread::sleep_until(next);
        } else {
            next = now;  // a slow poll does not cause a burst of catch-up polls
        }
    }
}

struct IdleResult {
    bool ok = false;
    double seconds = 0;
    CostDelta total;
    int threads = 0;
    int activeSlices = 0;  // one-second slices in which the program ran at all
    std::int64_t busiestSliceNs = 0;
    FaultSample faults;
};

// Counts what the program does over `seconds`, also slice by slice: a
// program that only wakes for its timer is active in one slice per tick.
IdleResult watchIdle(pid_t pid, double seconds) {
    IdleResult result;
    const auto firstCost = SampleCost(pid);
    const auto firstFaults = SampleFaults(pid);
    if (!firstCost || !firstFaults) {
        return result;
    }
    const auto from = Clock::now();
    const auto end =
        from + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    CostSample previous = *firstCost;
    CostDelta total;
    for (auto next = from + std::chrono::seconds(1);; next += std::chrono::seconds(1)) {
        std::this_thread::sleep_until(std::min(next, end));
        const auto now = SampleCost(pid);
        if (!now) {
            return result;
        }
        const CostDelta slice = CostBetween(previous, *now);
        if (slice.cpuNs > 0 || slice.wakeups > 0) {
            ++result.activeSlices;
            result.busiestSliceNs = std::max(result.busiestSliceNs, slice.cpuNs);
        }
        total.cpuNs += slice.cpuNs;
        total.wakeups += slice.wakeups;
        total.threadsStarted += slice.threadsStarted;
        total.threadsEnded += slice.threadsEnded;
        previous = *now;
        if (next >= end) {
            break;
        }
    }
    const auto lastFaults = SampleFaults(pid);
    if (!lastFaults) {
        return result;
    }
    result.ok = true;
    result.seconds = std::chrono::duration<double>(Clock::now() - from).count();
    result.total = total;
    result.threads = static_cast<int>(previous.threads.size());
    result.faults = {lastFaults->minor - firstFaults->minor,
                     lastFaults->major - firstFaults->major};
    return result;
}

// One "KiB name" line per mapped file.
bool writeRssByMapping(pid_t pid, const std::string& path) {
    const auto rss = SampleRssByMapping(pid);
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!rss || out == nullptr) {
        if (out != nullptr) std::fclose(out);
        return false;
    }
    for (const auto& [name, kib] : *rss) {
        std::fprintf(out, "%" PRId64 " %s\n", kib, name.c_str());
    }
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    std::string error;
    const auto options = ParseProbeOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "talvane-bench-probe: %s\n%s", error.c_str(), kProbeUsage);
        return 2;
    }
    auto watcher = TrayWatcher::connect(error);
    if (!watcher) {
        std::fprintf(stderr, "talvane-bench-probe: %s\n", error.c_str());
        return 1;
    }
    watcher->takeBaseline();

    const auto start = Clock::now();
    const pid_t pid = spawn(options->command);
    if (pid < 0) {
        std::fprintf(stderr, "talvane-bench-probe: cannot start %s\n", options->command[0].c_str());
        return 1;
    }
    const StartupResult startup = watchStartup(*watcher, pid, start, *options);
    if (!startup.ok) {
        std::printf("startup label=%s failed=1\n", options->label.c_str());
        std::fprintf(stderr, "talvane-bench-probe: %s: %s\n", options->label.c_str(),
                     startup.failure.c_str());
        endMeasured(pid, measuredProcess(pid, *options));
        return 1;
    }
    const pid_t measured = measuredProcess(pid, *options);
    std::printf("startup label=%s mapped_ms=%.1f drawn_ms=%.1f shown_windows=%d polls=%d pid=%d\n",
                options->label.c_str(), startup.mappedMs, startup.drawnMs,
                watcher->shownTopLevelsOfClient(startup.icon), startup.polls,
                static_cast<int>(pid));
    std::fflush(stdout);

    int exitCode = 0;
    if (options->memoryAfterSeconds) {
        std::this_thread::sleep_for(std::chrono::duration<double>(*options->memoryAfterSeconds));
        if (const auto memory = measured > 0 ? SampleMemory(measured) : std::nullopt) {
            std::printf("memory label=%s rss_kib=%" PRId64 " pss_kib=%" PRId64 " threads=%d\n",
                        options->label.c_str(), memory->rssKib, memory->pssKib, memory->threads);
            if (options->rssByMappingFile &&
                !writeRssByMapping(measured, *options->rssByMappingFile)) {
                std::fprintf(stderr, "talvane-bench-probe: cannot write %s\n",
                             options->rssByMappingFile->c_str());
                exitCode = 1;
            }
        } else {
            std::printf("memory label=%s failed=1\n", options->label.c_str());
            exitCode = 1;
        }
        std::fflush(stdout);
    }
    if (options->idleSeconds && exitCode == 0) {
        if (options->settleSeconds) {
            std::this_thread::sleep_for(std::chrono::duration<double>(*options->settleSeconds));
        }
        const IdleResult idle = watchIdle(measured, *options->idleSeconds);
        if (idle.ok) {
            std::printf(
                "idle label=%s seconds=%.1f cpu_ns=%" PRId64 " wakeups=%" PRId64
                " threads=%d"
                " threads_started=%d threads_ended=%d active_slices=%d busiest_slice_ns=%" PRId64
                " minflt=%" PRId64 " majflt=%" PRId64 " shown_windows=%d\n",
                options->label.c_str(), idle.seconds, idle.total.cpuNs, idle.total.wakeups,
                idle.threads, idle.total.threadsStarted, idle.total.threadsEnded, idle.activeSlices,
                idle.busiestSliceNs, idle.faults.minor, idle.faults.major,
                watcher->shownTopLevelsOfClient(startup.icon));
        } else {
            std::printf("idle label=%s failed=1\n", options->label.c_str());
            exitCode = 1;
        }
        std::fflush(stdout);
    }
    endMeasured(pid, measured);
    return exitCode;
}
