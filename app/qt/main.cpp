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
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/SystemRandom.h"
#include "platform/linux/UserFolders.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSysTray.h"
#include "platform/qt/QtWindowServices.h"
#include "service/PollTimer.h"
#include "service/ServiceBaseUrl.h"
#include "settings/SettingsLocation.h"

#ifndef TALVANE_VERSION
#define TALVANE_VERSION "unknown"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: talvane [--help | --version]\n"
    "\n"
    "Web-seminar tray notifier. Without arguments it starts in the notification\n"
    "area; while it runs, a second start for the same user ends at once.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and the service address built in, and exit\n"
    "\n"
    "Environment:\n"
    "  TALVANE_SERVICE_URL  base URL of the service, http or https (default: the\n"
    "                       address the program was built for, see --version)\n"
    "  TALVANE_TICK_MS      timer interval in milliseconds, for tests (10..60000)\n";

enum class Request { Run, Exit };

// Arguments are settled before the instance lock and the display: asking
// for the version must neither start nor stop a notifier.
Request handleArguments(int argc, char* argv[], int& status) {
    if (argc <= 1) {
        return Request::Run;
    }
    const std::string first = argv[1];
    if (argc == 2 && first == "--version") {
        std::printf("talvane %s\nservice %s\n", TALVANE_VERSION, talvane::BuiltInServiceBaseUrl());
        status = 0;
    } else if (argc == 2 && first == "--help") {
        std::fputs(kUsage, stdout);
        status = 0;
    } else {
        const std::string wrong = (first == "--version" || first == "--help") ? argv[2] : first;
        std::fprintf(stderr, "talvane: unexpected argument '%s' (see talvane --help)\n",
                     wrong.c_str());
        status = 2;
    }
    return Request::Exit;
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// A Wayland client cannot place its own window, and the panel belongs at the
// right-hand edge: run on XWayland. A session without XWayland (no DISPLAY)
// is left to Qt's own choice, which still gives a tray icon and a panel.
void preferX11UnderWayland() {
    if (isSet("WAYLAND_DISPLAY") && isSet("DISPLAY") && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
}

bool hasDisplay() {
    if (isSet("QT_QPA_PLATFORM")) {
        return true;  // the caller chose a platform (offscreen, xcb, ...) and knows why
    }
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace talvane;

    int status = 0;
    if (handleArguments(argc, argv, status) == Request::Exit) {
        return status;
    }

    // A service address that is no web address would hand a local path or
    // another scheme to the HTTP client and the browser: refused before the
    // lock file, the settings or the tray are touched.
    if (const auto problem = ServiceBaseUrlProblem(std::getenv("TALVANE_SERVICE_URL"))) {
        std::fprintf(stderr, "talvane: %s\n", problem->c_str());
        return 2;
    }

    // The lock comes before the toolkit: a second start ends in milliseconds,
    // without touching the display, the settings file or the network.
    FlockInstanceLock instance;
    if (instance.earlierInstanceRunning()) {
        return 0;
    }
    if (!hasDisplay()) {
        std::fprintf(
            stderr,
            "talvane: no display found (DISPLAY is not set); start it inside a desktop session\n");
        return 1;
    }
    preferX11UnderWayland();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("talvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    artwork::installFontSubstitutions();

    // One picture for the window and the tray: drawing it takes milliseconds.
    const QIcon icon = artwork::appIcon();
    PanelView view;
    view.setWindowIcon(icon);
    QtWindowServices window(view);
    QtSysTray tray(icon);
    QtShell shell;
    IniSettingsStore profile;
    IconvCodePage codePage("GBK");
    ExecutablePaths executable;
    // Beside the executable when that folder is writable, else the user's
    // configuration folder; decided once, before the settings are first read.
    const std::string exeFolder = executable.applicationDirectory();
    const SettingsLocation paths(
        executable, ChooseSettingsDirectory(
                        {exeFolder, IsWritableDirectory(exeFolder), UserConfigHome(), UserHome()}));
    SystemClock clock;
    SystemRandom random;
    CurlHttpRequestFactory http;
    ComponentAutomation automation(
        ComponentAutomation::defaultSearchDirectories(paths.applicationDirectory()));

    frmMain form(FormServices{instance, window, tray, shell, profile, codePage, paths, clock,
                              random, http, automation,
                              ServiceBaseUrlFrom(std::getenv("TALVANE_SERVICE_URL"))});
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
