#pragma once

#include <ctime>

#include "platform/Clock.h"

namespace talvane {

// The local time of this machine, in the time zone configured at the moment
// of each reading.
class SystemClock : public Clock {
  public:
    LocalDateTime now() const override;

    // The broken-down local time of t; exposed for the weekday mapping.
    static LocalDateTime fromTime(std::time_t t);
};

}  // namespace talvane
