#pragma once

#include "platform/Presence.h"

namespace talvane::testing {

// A user who presents (busy) or not, as the test sets it; counts the
// questions.
class FakePresence : public Presence {
  public:
    bool acceptsNotifications() const override {
        ++questions;
        return !busy;
    }
    bool busy = false;
    mutable int questions = 0;
};

}  // namespace talvane::testing
