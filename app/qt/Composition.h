#pragma once

#include <QIcon>
#include <QSocketNotifier>
#include <QTimer>

#include "app/frmMain.h"
#include "app/qt/PanelView.h"
#include "platform/linux/ComponentAutomation.h"
#include "platform/linux/ExecutablePaths.h"
#include "platform/linux/FlockInstanceLock.h"
#include "platform/linux/IconvCodePage.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/SystemRandom.h"
#include "platform/qt/DesktopPresence.h"
#include "platform/qt/QtAppWindow.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtOpener.h"
#include "platform/qt/QtTray.h"
#include "settings/SettingsLocation.h"

namespace talvane {

// The notifier window over the Linux platform and the Qt face: every object
// the program runs with, built once after the toolkit has started, in the
// order they depend on each other.
class Composition {
  public:
    // serviceBaseUrl: TALVANE_SERVICE_URL as the environment has it (may be
    // null); tickMs: the Timer1 interval.
    Composition(FlockInstanceLock& instance, const char* serviceBaseUrl, int tickMs);

    // How long a tray host has after start-up before the panel shows itself.
    static constexpr int kTrayHostWaitMs = 10000;

    frmMain& form() { return form_; }
    // A request whose worker is still stuck (in a desktop's proxy script).
    bool requestsLeftBehind() const { return http_.workersLeftBehind() > 0; }

  private:
    QIcon icon_;
    PanelView view_;
    QtAppWindow window_;
    QtTray tray_;
    QtOpener opener_;
    IniSettingsStore settings_;
    IconvCodePage codePage_;
    ExecutablePaths executable_;
    SettingsLocation paths_;
    SystemClock clock_;
    SystemRandom random_;
    QtHttpClient http_;
    ComponentAutomation components_;
    DesktopPresence presence_;
    frmMain form_;
    QTimer timer1_;
    QTimer trayHostWait_;
    QSocketNotifier showRequests_{QSocketNotifier::Read};
};

}  // namespace talvane
