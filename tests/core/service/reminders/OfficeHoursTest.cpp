#include <gtest/gtest.h>

#include "service/PollTimer.h"
#include "tests/fakes/FakeClock.h"

namespace talvane {
namespace {

LocalDateTime at(int weekday, int hour, int minute) {
    // 2026-12-07 is a Monday.
    return {2026, 12, 6 + weekday, hour, minute, 0, weekday};
}

TEST(knowIfVisitPage, AllowsWeekdayHours9To11And13To17Only) {
    struct Case {
        int weekday, hour, minute;
        bool allowed;
    };
    const Case cases[] = {
        {1, 8, 59, false},  {1, 9, 0, true},    {3, 11, 59, true}, {3, 12, 0, false},
        {3, 12, 59, false}, {3, 13, 0, true},   {5, 17, 59, true}, {5, 18, 0, false},
        {2, 0, 0, false},   {2, 23, 59, false}, {6, 10, 0, false}, {7, 10, 0, false},
        {6, 14, 30, false}, {7, 15, 0, false},
    };
    for (const Case& c : cases) {
        testing::FakeClock clock(at(c.weekday, c.hour, c.minute));
        EXPECT_EQ(knowIfVisitPage(clock), c.allowed)
            << "weekday " << c.weekday << " " << c.hour << ":" << c.minute;
        EXPECT_EQ(clock.readings, 1);
    }
}

}  // namespace
}  // namespace talvane
