#include "platform/windows/Win32Presence.h"

#include <iterator>

namespace talvane {
namespace {

// The desktop itself fills the monitor too, and so does the shell's window
// behind the icons: neither is a presentation.
bool isDesktop(HWND window) {
    if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
    wchar_t name[16]{};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return lstrcmpW(name, L"Progman") == 0 || lstrcmpW(name, L"WorkerW") == 0;
}

bool foregroundCoversItsMonitor() {
    const HWND window = GetForegroundWindow();
    if (window == nullptr || isDesktop(window) || !IsWindowVisible(window) || IsIconic(window)) {
        return false;
    }
    RECT rect{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(window, &rect) ||
        !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONULL), &monitor)) {
        return false;
    }
    return Win32Presence::CoversMonitor(rect, monitor.rcMonitor);
}

}  // namespace

bool Win32Presence::StateAccepts(QUERY_USER_NOTIFICATION_STATE state) {
    switch (state) {
        case QUNS_BUSY:
        case QUNS_RUNNING_D3D_FULL_SCREEN:
        case QUNS_PRESENTATION_MODE:
        case QUNS_QUIET_TIME:
            return false;
        default:
            return true;
    }
}

bool Win32Presence::CoversMonitor(const RECT& window, const RECT& monitor) {
    return window.left <= monitor.left && window.top <= monitor.top &&
           window.right >= monitor.right && window.bottom >= monitor.bottom;
}

bool Win32Presence::acceptsNotifications() const {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (SUCCEEDED(SHQueryUserNotificationState(&state)) && !StateAccepts(state)) return false;
    return !foregroundCoversItsMonitor();
}

}  // namespace talvane
