#pragma once

#include <windows.h>
// windows.h first: shellapi.h builds on its types.
#include <shellapi.h>

#include "platform/Presence.h"

namespace talvane {

// The user may be interrupted unless the shell says otherwise
// (SHQueryUserNotificationState: busy, a full-screen Direct3D program,
// presentation mode, quiet time) or the foreground window covers its whole
// monitor, as a slide show, a full-screen video or a shared screen does.
class Win32Presence : public Presence {
  public:
    bool acceptsNotifications() const override;

    // The shell's answer as a yes or no; an answer this program does not
    // know lets notifications through.
    static bool StateAccepts(QUERY_USER_NOTIFICATION_STATE state);
    // True when the window's rectangle covers the monitor's entirely.
    static bool CoversMonitor(const RECT& window, const RECT& monitor);
};

}  // namespace talvane
