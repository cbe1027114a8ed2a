#include "platform/windows/LocalTimeClock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace talvane {
namespace {

TEST(LocalTimeClock, WeekdayCountsFromMonday_AndMatchesTheDate) {
    const LocalDateTime now = LocalTimeClock().now();
    const std::chrono::year_month_day date{std::chrono::year(now.year),
                                           std::chrono::month(static_cast<unsigned>(now.month)),
                                           std::chrono::day(static_cast<unsigned>(now.day))};
    ASSERT_TRUE(date.ok());
    EXPECT_EQ(now.weekday,
              static_cast<int>(std::chrono::weekday(std::chrono::sys_days(date)).iso_encoding()));
}

}  // namespace
}  // namespace talvane
