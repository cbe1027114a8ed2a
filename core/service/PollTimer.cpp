#include "service/PollTimer.h"

namespace talvane {

bool knowIfVisitPage(const Clock& clock) {
    const LocalDateTime now = clock.now();
    if (now.weekday == 6 || now.weekday == 7) return false;
    if (now.hour < 9 || now.hour == 12 || now.hour > 17) return false;
    return true;
}

namespace {

// Advances a counter and reports whether it reached its period. A counter
// that someone left outside 0..period-1 counts as due at once, so it can
// never run on towards the end of its 16-bit range.
bool advance(std::int16_t& ticks, std::int16_t period) {
    if (ticks < 0 || ticks >= period - 1) {
        ticks = 0;
        return true;
    }
    ++ticks;
    return false;
}

}  // namespace

void Timer1_Timer(std::int16_t& ReminderTicks, std::int16_t& VisitTicks,
                  const TickActions& actions) {
    if (advance(ReminderTicks, kReminderPollEvery)) {
        if (actions.knowIfVisitPage && actions.knowIfVisitPage() && actions.CheckReminders) {
            actions.CheckReminders();
        }
    }
    if (advance(VisitTicks, kVisitReportEvery)) {
        if (actions.SendVisit) actions.SendVisit();
    }
}

int Timer1IntervalMs(const char* tickEnv) {
    // Below 10 ms the window would do little but tick.
    constexpr long kMin = 10;
    if (tickEnv == nullptr || *tickEnv == '\0') return kTimer1IntervalMs;
    long value = 0;
    for (const char* p = tickEnv; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return kTimer1IntervalMs;
        value = value * 10 + (*p - '0');
        if (value > kTimer1IntervalMs) return kTimer1IntervalMs;
    }
    return value < kMin ? kTimer1IntervalMs : static_cast<int>(value);
}

}  // namespace talvane
