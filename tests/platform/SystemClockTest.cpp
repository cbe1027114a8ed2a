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

// Restores the test process's TZ when a test ends.
class ZoneGuard {
  public:
    ZoneGuard() : had_(std::getenv("TZ") != nullptr), saved_(had_ ? std::getenv("TZ") : "") {}
    ~ZoneGuard() {
        had_ ? ::setenv("TZ", saved_.c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }
    ZoneGuard(const ZoneGuard&) = delete;
    ZoneGuard& operator=(const ZoneGuard&) = delete;

  private:
    bool had_;
    std::string saved_;
};

int SecondOfDay(const LocalDateTime& t) { return (t.hour * 60 + t.minute) * 60 + t.second; }

TEST(SystemClock, GivesLocalTime_WithWeekdaysFromMondayOneToSundaySeven) {
    ZoneGuard zone;
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
}

// A zone changed while the program runs (a laptop that travelled, a wrong
// zone put right) counts from the next reading, not from the next start.
TEST(SystemClock, NextReadingFollowsAZoneChange) {
    ZoneGuard zone;
    const SystemClock clock;
    ::setenv("TZ", "UTC0", 1);
    const LocalDateTime utc = clock.now();
    ::setenv("TZ", "CST-8", 1);
    const LocalDateTime shanghai = clock.now();
    // Eight hours ahead, give or take the time between the readings.
    const int ahead = (SecondOfDay(shanghai) - SecondOfDay(utc) + 86400) % 86400;
    EXPECT_GE(ahead, 8 * 3600);
    EXPECT_LT(ahead, 8 * 3600 + 60);
}

}  // namespace
}  // namespace talvane
