#pragma once

#include <optional>
#include <string>

#include "platform/Presence.h"

namespace talvane {

// A reminder that arrives while the user may not be interrupted waits here
// instead of showing its card over a presentation; the first tick after
// that shows it, once. A later reminder replaces a waiting one: the service
// answers each poll with its newest.
class ReminderHold {
  public:
    explicit ReminderHold(const Presence& presence) : presence_(presence) {}

    // True when the user may not be interrupted now: text then waits.
    bool keep(const std::u16string& text);

    // The waiting reminder once the user may be interrupted again, taken out
    // so that it is shown once; nullopt while there is none or the user is
    // still busy.
    std::optional<std::u16string> release();

  private:
    const Presence& presence_;
    std::optional<std::u16string> waiting_;
};

}  // namespace talvane
