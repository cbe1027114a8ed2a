#pragma once

#include "platform/Clock.h"

namespace talvane::testing {

// A clock that stands still at a set time and counts its readings.
class FakeClock : public Clock {
  public:
    explicit FakeClock(LocalDateTime at = {}) : at_(at) {}
    LocalDateTime now() const override {
        ++readings;
        return at_;
    }
    void set(LocalDateTime at) { at_ = at; }
    mutable int readings = 0;

  private:
    LocalDateTime at_;
};

// Monday 2026-12-07 10:00:00, inside office hours.
inline LocalDateTime OfficeHoursMonday() { return {2026, 12, 7, 10, 0, 0, 1}; }

}  // namespace talvane::testing
