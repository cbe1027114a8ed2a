#pragma once

#include <cstdint>
#include <functional>

#include "platform/Clock.h"

namespace talvane {

inline constexpr int kTimer1IntervalMs = 60000;
inline constexpr std::int16_t kReminderPollEvery = 7;
inline constexpr std::int16_t kVisitReportEvery = 30;

// True when a reminder poll is allowed now: Monday to Friday, in the hours
// 9, 10, 11 and 13 to 17 (09:00-11:59 and 13:00-17:59 local time).
bool knowIfVisitPage(const Clock& clock);

// What a tick may set off. Each action handles its own failures.
struct TickActions {
    std::function<bool()> knowIfVisitPage;
    std::function<void()> CheckReminders;
    std::function<void()> SendVisit;
};

// One tick of Timer1: every 7th tick polls for a reminder when office hours
// allow it, every 30th tick reports the visit; when both fall due the poll
// runs first. The counters stay within 0..6 and 0..29 between ticks.
void Timer1_Timer(std::int16_t& ReminderTicks, std::int16_t& VisitTicks,
                  const TickActions& actions);

// The timer interval: 60000 ms, or the value of TALVANE_TICK_MS when it is a
// plain decimal number from 10 to 60000 (a test and demo aid). Anything else,
// or no value at all, gives 60000.
int Timer1IntervalMs(const char* tickEnv);

}  // namespace talvane
