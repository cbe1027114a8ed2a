// Talvane: wires the Linux platform and the Qt face to the notifier window.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/frmMain.h"
#include "app/qt/Artwork.h"
#include "app/qt/PanelView.h"
#include "platform/linux/ComponentAutomation.h"
#include "platform/linux/CurlHttpRequest.h"
#include "platform/linux/ExecutablePaths.h"
#include "platform/linux/FlockInstanceLock.h"
#include "platform/linux/IconvCodePage.h"
#include "platform/linux/IniProfileFile.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/SystemRandom.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSysTray.h"
#include "platform/qt/QtWindowServices.h"
#include "service/PollTimer.h"
#include "service/ServiceBaseUrl.h"

namespace {

bool hasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0') {
        return true;  // the caller chose a platform (offscreen, xcb, ...) and knows why
    }
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace talvane;

    // The lock comes before the toolkit: a second start ends in milliseconds,
    // without touching the display, the settings file or the network.
    FlockInstanceLock instance;
    if (instance.earlierInstanceRunning()) {
        return 0;
    }
    if (!hasDisplay()) {
        std::fprintf(stderr, "talvane: no display found (DISPLAY is not set); start it inside a desktop session\n");
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("talvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    artwork::installFontSubstitutions();

    PanelView view;
    QtWindowServices window(view);
    QtSysTray tray(artwork::appIcon());
    QtShell shell;
    IniProfileFile profile;
    IconvCodePage codePage("GBK");
    ExecutablePaths paths;
    SystemClock clock;
    SystemRandom random;
    CurlHttpRequestFactory http;
    ComponentAutomation automation(ComponentAutomation::defaultSearchDirectories(paths.applicationDirectory()));

    frmMain form(FormServices{instance, window, tray, shell, profile, codePage, paths, clock, random, http,
                              automation, ServiceBaseUrl()});
    view.attach(form, window);

    // Timer1 runs from the window's creation; ticks queue behind start-up.
    QTimer timer1;
    timer1.setInterval(Timer1IntervalMs(std::getenv("TALVANE_TICK_MS")));
    QObject::connect(&timer1, &QTimer::timeout, [&form] { form.Timer1_Timer(); });
    timer1.start();

    if (!form.Form_Load()) {
        return 0;
    }
    return QApplication::exec();
}
