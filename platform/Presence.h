#pragma once

namespace talvane {

// Whether the user may be interrupted by a notification now. False while
// they present or work full-screen, or while the desktop holds
// notifications back (presentation mode, quiet hours, a full-screen game or
// video); the platform answers from what its desktop says.
class Presence {
  public:
    virtual ~Presence() = default;
    virtual bool acceptsNotifications() const = 0;
};

}  // namespace talvane
