#pragma once

#include "platform/Clock.h"

namespace talvane {

// The local wall clock from GetLocalTime: the system's own time zone and
// daylight-saving rules, whatever the process environment says.
class LocalTimeClock : public Clock {
  public:
    LocalDateTime now() const override;
};

}  // namespace talvane
