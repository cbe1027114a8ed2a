#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service/PollTimer.h"

namespace talvane {
namespace {

// Runs ticks 1..count and writes down, per tick, what was called in order:
// "k" knowIfVisitPage, "r" CheckReminders, "v" SendVisit.
struct TickRecorder {
    bool officeHours = true;
    std::int16_t reminderTicks = 0;
    std::int16_t visitTicks = 0;
    std::vector<std::string> log;  // log[i] is tick i + 1
    bool countersStayedInRange = true;

    void run(int count) {
        std::string current;
        const TickActions actions{[&] {
                                      current += 'k';
                                      return officeHours;
                                  },
                                  [&] { current += 'r'; }, [&] { current += 'v'; }};
        for (int i = 0; i < count; ++i) {
            current.clear();
            Timer1_Timer(reminderTicks, visitTicks, actions);
            log.push_back(current);
            countersStayedInRange = countersStayedInRange && reminderTicks >= 0 &&
                                    reminderTicks <= 6 && visitTicks >= 0 && visitTicks <= 29;
        }
    }
};

TEST(Timer1_Timer, CountsOnTicks1To6_PollsOnTick7_AndStartsAgainOnTick8) {
    TickRecorder ticks;
    ticks.run(8);
    for (int tick = 1; tick <= 6; ++tick) EXPECT_EQ(ticks.log[tick - 1], "") << "tick " << tick;
    EXPECT_EQ(ticks.log[6], "kr");
    EXPECT_EQ(ticks.log[7], "");
    EXPECT_EQ(ticks.reminderTicks, 1);
    EXPECT_EQ(ticks.visitTicks, 8);
}

TEST(Timer1_Timer, SkipsThePollOutsideOfficeHours_WithoutPostponingIt) {
    TickRecorder ticks;
    ticks.officeHours = false;
    ticks.run(7);
    EXPECT_EQ(ticks.log[6], "k");
    EXPECT_EQ(ticks.reminderTicks, 0);
    ticks.officeHours = true;
    ticks.run(7);
    for (int tick = 8; tick <= 13; ++tick) EXPECT_EQ(ticks.log[tick - 1], "") << "tick " << tick;
    EXPECT_EQ(ticks.log[13], "kr");
}

TEST(Timer1_Timer, ReportsEvery30thTick_AndPollsBeforeReportingWhenBothFallDue) {
    TickRecorder ticks;
    ticks.run(420);
    for (int tick = 1; tick <= 420; ++tick) {
        std::string expected;
        if (tick % 7 == 0) expected += "kr";
        if (tick % 30 == 0) expected += "v";
        ASSERT_EQ(ticks.log[tick - 1], expected) << "tick " << tick;
    }
    EXPECT_EQ(ticks.log[209], "krv");
    EXPECT_TRUE(ticks.countersStayedInRange);
}

TEST(Timer1_Timer, BringsCountersLeftOutOfRangeBackWithoutOverflow) {
    TickRecorder ticks;
    ticks.reminderTicks = 32767;
    ticks.visitTicks = -5;
    ticks.run(1);
    EXPECT_EQ(ticks.log[0], "krv");
    EXPECT_EQ(ticks.reminderTicks, 0);
    EXPECT_EQ(ticks.visitTicks, 0);
}

TEST(Timer1IntervalMs, AcceptsOnlyPlainNumbersFrom10To60000) {
    EXPECT_EQ(Timer1IntervalMs(nullptr), 60000);
    EXPECT_EQ(Timer1IntervalMs(""), 60000);
    EXPECT_EQ(Timer1IntervalMs("200"), 200);
    EXPECT_EQ(Timer1IntervalMs("10"), 10);
    EXPECT_EQ(Timer1IntervalMs("60000"), 60000);
    EXPECT_EQ(Timer1IntervalMs("9"), 60000);
    EXPECT_EQ(Timer1IntervalMs("0"), 60000);
    EXPECT_EQ(Timer1IntervalMs("60001"), 60000);
    EXPECT_EQ(Timer1IntervalMs("99999999999999999999999"), 60000);
    EXPECT_EQ(Timer1IntervalMs("-100"), 60000);
    EXPECT_EQ(Timer1IntervalMs(" 100"), 60000);
    EXPECT_EQ(Timer1IntervalMs("100ms"), 60000);
    EXPECT_EQ(Timer1IntervalMs("1e3"), 60000);
    EXPECT_EQ(Timer1IntervalMs("fast"), 60000);
}

}  // namespace
}  // namespace talvane
