#include "platform/linux/SystemClock.h"

namespace talvane {

LocalDateTime SystemClock::now() const {
    // glibc's localtime_r reads the zone only once per process; tzset looks
    // again (TZ, or /etc/localtime when its file changed), so a zone changed
    // while the program runs counts from the next reading on.
    tzset();
    return fromTime(std::time(nullptr));
}

LocalDateTime SystemClock::fromTime(std::time_t t) {
    std::tm parts{};
    if (localtime_r(&t, &parts) == nullptr) gmtime_r(&t, &parts);
    LocalDateTime local;
    local.year = parts.tm_year + 1900;
    local.month = parts.tm_mon + 1;
    local.day = parts.tm_mday;
    local.hour = parts.tm_hour;
    local.minute = parts.tm_min;
    local.second = parts.tm_sec;
    // tm_wday counts from Sunday = 0; the program counts Monday = 1.
    local.weekday = parts.tm_wday == 0 ? 7 : parts.tm_wday;
    return local;
}

}  // namespace talvane
