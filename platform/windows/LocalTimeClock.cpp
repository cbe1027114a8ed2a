#include "platform/windows/LocalTimeClock.h"

#include <windows.h>

namespace talvane {

LocalDateTime LocalTimeClock::now() const {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    LocalDateTime local;
    local.year = t.wYear;
    local.month = t.wMonth;
    local.day = t.wDay;
    local.hour = t.wHour;
    local.minute = t.wMinute;
    local.second = t.wSecond;
    // wDayOfWeek counts from Sunday = 0; the program counts Monday = 1.
    local.weekday = t.wDayOfWeek == 0 ? 7 : t.wDayOfWeek;
    return local;
}

}  // namespace talvane
