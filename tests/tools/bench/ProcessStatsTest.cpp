#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <utility>

#include "tools/bench/probe/ProcessStats.h"

namespace talvane::bench {
namespace {

TEST(ProcessStats, ProcField_MatchesTheWholeKeyOnly) {
    const char* rollup =
        "55d0-7ffe ---p 00000000 00:00 0    [rollup]\n"
        "Rss:               24880 kB\n"
        "Pss_Anon:           5000 kB\n"
        "Pss:               19012 kB\n"
        "Pss_File:          14012 kB\n";
    EXPECT_EQ(ProcField(rollup, "Pss"), 19012);
    EXPECT_EQ(ProcField(rollup, "Pss_File"), 14012);
    EXPECT_FALSE(ProcField(rollup, "Ps").has_value());

    const char* status = "nonvoluntary_ctxt_switches:\t9\nvoluntary_ctxt_switches:\t31";
    EXPECT_EQ(ProcField(status, "voluntary_ctxt_switches"), 31);
    EXPECT_EQ(ProcField(status, "nonvoluntary_ctxt_switches"), 9);
    EXPECT_FALSE(ProcField("VmRSS:\tlots kB\n", "VmRSS").has_value());
}

TEST(ProcessStats, SchedstatRunNs_ReadsTheFirstField) {
    EXPECT_EQ(SchedstatRunNs("183745621 2100434 57\n"), 183745621);
    EXPECT_FALSE(SchedstatRunNs("").has_value());
}

TEST(ProcessStats, ProgramNameOf_TakesTheFirstArgumentsFileName) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\windows\\system32\\explorer.exe\0/desktop\0"s, "explorer.exe"},
        {"/tmp/app/talvane.exe\0"s, "talvane.exe"},
        {"Z:\\tmp\\app dir\\talvane.exe\0--x\\y.exe\0"s, "talvane.exe"},
        {"start.exe\0/exec\0talvane.exe\0"s, "start.exe"},
        {""s, ""},
    };
    for (const auto& [cmdline, name] : cases) {
        EXPECT_EQ(ProgramNameOf(cmdline), name) << cmdline;
    }
}

TEST(ProcessStats, StatFaults_SkipsACommandWithSpacesAndParentheses) {
    const auto faults =
        StatFaults("4242 (my (odd) prog) S 1 4242 4242 0 -1 4194560 1234 0 56 0 7 3 0 0 20 0 3");
    ASSERT_TRUE(faults.has_value());
    EXPECT_EQ(faults->minor, 1234);
    EXPECT_EQ(faults->major, 56);
    EXPECT_FALSE(StatFaults("4242 (cut short) S 1 2").has_value());
    EXPECT_FALSE(StatFaults("no parentheses at all").has_value());
}

TEST(ProcessStats, CostBetween_CountsNewThreadsInFullAndReportsEndedOnes) {
    CostSample before;
    before.threads = {{100, {5'000, 10}}, {101, {700, 3}}, {102, {50, 1}}};
    CostSample after;
    after.threads = {{100, {5'600, 12}}, {102, {50, 1}}, {103, {900, 4}}};
    const CostDelta delta = CostBetween(before, after);
    EXPECT_EQ(delta.cpuNs, 600 + 0 + 900);
    EXPECT_EQ(delta.wakeups, 2 + 0 + 4);
    EXPECT_EQ(delta.threadsStarted, 1);
    EXPECT_EQ(delta.threadsEnded, 1);
}

TEST(ProcessStats, RssByMapping_SumsEachFileAndNamesAnonymousMemory) {
    const char* smaps =
        "55d0a000-55d0b000 r--p 00000000 fe:00 42                         /usr/lib/lib a.so\n"
        "Size:                  4 kB\n"
        "Rss:                   4 kB\n"
        "Pss:                   2 kB\n"
        "55d0b000-55d0d000 r-xp 00001000 fe:00 42                         /usr/lib/lib a.so\n"
        "Rss:                   8 kB\n"
        "7f00a000-7f00e000 rw-p 00000000 00:00 0 \n"
        "Rss:                  16 kB\n"
        "7f00e000-7f01e000 rw-p 00000000 00:00 0                          [heap]\n"
        "Rss:                  64 kB\n"
        "VmFlags: rd wr mr mw me ac\n";
    const auto rss = RssByMapping(smaps);
    ASSERT_EQ(rss.size(), 3u);
    EXPECT_EQ(rss.at("/usr/lib/lib a.so"), 12);
    EXPECT_EQ(rss.at("[anon]"), 16);
    EXPECT_EQ(rss.at("[heap]"), 64);
}

TEST(ProcessStats, Samples_OfThisProcessAreConsistent) {
    const auto memory = SampleMemory(getpid());
    ASSERT_TRUE(memory.has_value());
    EXPECT_GT(memory->rssKib, 0);
    EXPECT_GT(memory->pssKib, 0);
    EXPECT_LE(memory->pssKib, memory->rssKib);

    const auto first = SampleCost(getpid());
    volatile unsigned spin = 0;
    for (unsigned i = 0; i < 20'000'000; ++i) spin = spin + i;
    const auto second = SampleCost(getpid());
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->threads.count(getpid()), 1u);
    EXPECT_GT(CostBetween(*first, *second).cpuNs, 0);

    const auto byMapping = SampleRssByMapping(getpid());
    ASSERT_TRUE(byMapping.has_value());
    std::int64_t total = 0;
    for (const auto& [name, kib] : *byMapping) total += kib;
    EXPECT_NEAR(static_cast<double>(total), static_cast<double>(memory->rssKib),
                memory->rssKib * 0.2);

    EXPECT_FALSE(SampleMemory(-1).has_value());
    EXPECT_FALSE(SampleCost(-1).has_value());
}

}  // namespace
}  // namespace talvane::bench
