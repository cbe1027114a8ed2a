#include "service/ReminderHold.h"

#include <utility>

namespace talvane {

bool ReminderHold::keep(const std::u16string& text) {
    if (presence_.acceptsNotifications()) return false;
    waiting_ = text;
    return true;
}

std::optional<std::u16string> ReminderHold::release() {
    if (!waiting_ || !presence_.acceptsNotifications()) return std::nullopt;
    return std::exchange(waiting_, std::nullopt);
}

}  // namespace talvane
