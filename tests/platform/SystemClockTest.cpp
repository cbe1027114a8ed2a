#include "platform/linux/SystemClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace talvane {
namespace {

// Sets TZ for one test and puts the old value back.
class ZoneScope {
  public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneScope() {
        if (old_) {
            ::setenv("TZ", old_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

  private:
    std::optional<std::string> old_;
};

std::time_t Utc(int year, int month, int day, int hour, int minute, int second) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    return ::timegm(&parts);
}

TEST(SystemClock, GivesLocalTime_WithWeekdaysFromMondayOneToSundaySeven) {
    ZoneScope zone("CST-8");  // UTC+8 without daylight saving
    const LocalDateTime friday = SystemClock::fromTime(Utc(2008, 12, 5, 1, 3, 7));
    EXPECT_EQ(friday.year, 2008);
    EXPECT_EQ(friday.month, 12);
    EXPECT_EQ(friday.day, 5);
    EXPECT_EQ(friday.hour, 9);
    EXPECT_EQ(friday.minute, 3);
    EXPECT_EQ(friday.second, 7);
    EXPECT_EQ(friday.weekday, 5);

    // 23:30 UTC on Saturday is already Sunday here, and a new year.
    const LocalDateTime sunday = SystemClock::fromTime(Utc(2022, 12, 31, 23, 30, 0));
    EXPECT_EQ(sunday.year, 2023);
    EXPECT_EQ(sunday.day, 1);
    EXPECT_EQ(sunday.hour, 7);
    EXPECT_EQ(sunday.weekday, 7);
    EXPECT_EQ(SystemClock::fromTime(Utc(2023, 1, 1, 16, 0, 0)).weekday, 1);
}

}  // namespace
}  // namespace talvane
