#pragma once

#include "platform/Presence.h"

namespace talvane {

// The user presents or works full-screen when the desktop's active window
// (_NET_ACTIVE_WINDOW) is in the state _NET_WM_STATE_FULLSCREEN, asked of
// the X server through Qt's own connection, or when the desktop's
// notification service says its notifications are inhibited (the
// Inhibited property of org.freedesktop.Notifications, which GNOME and KDE
// set in do-not-disturb and presentation modes). Away from X11 and without
// such a service on the session bus the user always accepts notifications.
class DesktopPresence : public Presence {
  public:
    bool acceptsNotifications() const override;
};

}  // namespace talvane
