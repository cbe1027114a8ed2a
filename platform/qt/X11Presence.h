#pragma once

#include <cstdint>

#include "platform/Presence.h"

namespace talvane {

// The user presents or works full-screen when the desktop's active window
// (_NET_ACTIVE_WINDOW) is in the state _NET_WM_STATE_FULLSCREEN, asked of
// the X server through Qt's own connection. Away from X11 (Wayland, the
// offscreen platform) or without a window manager that names an active
// window, the user always accepts notifications.
class X11Presence : public Presence {
  public:
    bool acceptsNotifications() const override;

  private:
    // Interned at the first question; 0 until then.
    mutable std::uint32_t activeWindow_ = 0;
    mutable std::uint32_t state_ = 0;
    mutable std::uint32_t fullscreen_ = 0;
};

}  // namespace talvane
