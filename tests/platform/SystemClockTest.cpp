#include "platform/linux/SystemClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace talvane {
namespace {

std::time_t Utc(int year, int month, int day, int hour) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    return ::timegm(&parts);
}

TEST(SystemClock, GivesLocalTime_WithWeekdaysFromMondayOneToSundaySeven) {
    const char* oldZone = std::getenv("TZ");
    const std::string saved = oldZone ? oldZone : "";
    ::setenv("TZ", "CST-8", 1);  // UTC+8, no daylight saving
    ::tzset();
    const LocalDateTime friday = SystemClock::fromTime(Utc(2008, 12, 5, 1) + 3 * 60 + 7);
    EXPECT_EQ((std::vector<int>{friday.year, friday.month, friday.day, friday.hour, friday.minute,
                                friday.second, friday.weekday}),
              (std::vector<int>{2008, 12, 5, 9, 3, 7, 5}));

    // 23:00 UTC on a Saturday is already Sunday, and a new year, here.
    const LocalDateTime sunday = SystemClock::fromTime(Utc(2022, 12, 31, 23));
    EXPECT_EQ(sunday.year, 2023);
    EXPECT_EQ(sunday.weekday, 7);
    EXPECT_EQ(SystemClock::fromTime(Utc(2023, 1, 1, 16)).weekday, 1);
    oldZone ? ::setenv("TZ", saved.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}

}  // namespace
}  // namespace talvane
