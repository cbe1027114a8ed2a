#pragma once

namespace talvane {

struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
    int weekday = 0;  // 1 = Monday .. 7 = Sunday
};

// The local wall clock. Every call is a fresh reading.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

}  // namespace talvane
