#include <gtest/gtest.h>

#include "tools/bench/probe/ProbeOptions.h"

namespace talvane::bench {
namespace {

TEST(ProbeOptions, Parse_TakesEverythingAfterTheSeparatorAsTheCommand) {
    std::string error;
    const auto options = ParseProbeOptions(
        {"--label", "floor", "--memory-after", "10", "--idle", "120", "--", "prog", "--idle", "x"},
        error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->label, "floor");
    EXPECT_EQ(options->memoryAfterSeconds, 10.0);
    EXPECT_EQ(options->idleSeconds, 120.0);
    EXPECT_EQ(options->pollMs, 2.0);
    EXPECT_EQ(options->command, (std::vector<std::string>{"prog", "--idle", "x"}));
}

TEST(ProbeOptions, Parse_RefusesWhatWouldGiveMeaninglessFigures) {
    std::string error;
    EXPECT_FALSE(ParseProbeOptions(
        {
            "--",
        },
        error));
    EXPECT_FALSE(ParseProbeOptions({"prog"}, error));
    EXPECT_FALSE(ParseProbeOptions({"--idle", "--", "prog"}, error));
    EXPECT_FALSE(ParseProbeOptions({"--idle", "0", "--", "prog"}, error));
    EXPECT_FALSE(ParseProbeOptions({"--timeout", "5s", "--", "prog"}, error));
    EXPECT_FALSE(ParseProbeOptions({"--poll-ms", "10", "--", "prog"}, error));
    EXPECT_FALSE(ParseProbeOptions({"--rss-by-mapping", "f", "--", "prog"}, error));
    EXPECT_FALSE(ParseProbeOptions({"--verbose", "1", "--", "prog"}, error));
    EXPECT_NE(error.find("--verbose"), std::string::npos);
}

}  // namespace
}  // namespace talvane::bench
