#pragma once

#include <windows.h>

namespace talvane {

// True when a window message asks the program to end now: WM_CLOSE (an
// installer or a tool closing the program's top-level windows), or
// WM_ENDSESSION with the session really ending, for a log-off or for the
// Restart Manager (ENDSESSION_CLOSEAPP) before an installer replaces the
// program's files. WM_QUERYENDSESSION only asks, and the default answer
// agrees: should another program refuse, WM_ENDSESSION comes with FALSE and
// the program goes on.
inline bool EndsProgram(UINT message, WPARAM wParam) {
    return message == WM_CLOSE || (message == WM_ENDSESSION && wParam != FALSE);
}

}  // namespace talvane
