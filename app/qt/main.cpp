// Talvane: wires the Linux platform and the Qt face to the notifier window.
#include <QApplication>
#include <QCommandLineParser>
#include <QThreadPool>
#include <cstdio>
#include <cstdlib>

#include "app/qt/Artwork.h"
#include "app/qt/Composition.h"
#include "platform/linux/FlockInstanceLock.h"
#include "service/PollTimer.h"
#include "service/ServiceBaseUrl.h"

#ifndef TALVANE_VERSION
#define TALVANE_VERSION "unknown"
#endif

namespace {

constexpr int kPoolThreadExpiryMs = 2000;

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

// Arguments are settled before the instance lock and the display: asking
// for the version must neither start nor stop a notifier. -1 means run.
int handleArguments(int argc, char* argv[]) {
    if (argc <= 1) return -1;
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({help, version});
    // Exactly one of the two and nothing else: anything more is a mistake
    // worth saying so, not something to ignore.
    if (argc == 2 && parser.parse(arguments) && parser.positionalArguments().isEmpty()) {
        if (parser.isSet(version)) {
            std::printf("talvane %s\nservice %s\n", TALVANE_VERSION,
                        talvane::BuiltInServiceBaseUrl());
            return 0;
        }
        if (parser.isSet(help)) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    const QString first = arguments[1];
    const bool known = first == u"--version" || first == u"--help";
    const QString wrong = known && argc > 2 ? arguments[2] : first;
    std::fprintf(stderr, "talvane: unexpected argument '%s' (see talvane --help)\n",
                 wrong.toLocal8Bit().constData());
    return 2;
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
    if (const int status = handleArguments(argc, argv); status >= 0) return status;

    // A service address that is no web address would hand a local path or
    // another scheme to the HTTP client and the browser: refused before the
    // lock file, the settings or the tray are touched.
    if (const auto problem = talvane::ServiceBaseUrlProblem(std::getenv("TALVANE_SERVICE_URL"))) {
        std::fprintf(stderr, "talvane: %s\n", problem->c_str());
        return 2;
    }

    // The lock comes before the toolkit: a second start ends in milliseconds,
    // without touching the display, the settings file or the network.
    talvane::FlockInstanceLock instance;
    if (instance.earlierInstanceRunning()) {
        instance.askEarlierInstanceToShow();
        return 0;
    }
    if (!hasDisplay()) {
        std::fputs(
            "talvane: no display found (DISPLAY is not set); start it inside a desktop session\n",
            stderr);
        return 1;
    }
    preferX11UnderWayland();

    QApplication app(argc, argv);
    // Qt's pool draws large pictures on helper threads, which otherwise
    // stay 30 s after their last picture; nothing needs them between
    // drawings.
    QThreadPool::globalInstance()->setExpiryTimeout(kPoolThreadExpiryMs);
    QApplication::setApplicationName(QStringLiteral("talvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    talvane::artwork::installFontSubstitutions();

    talvane::Composition program(instance, std::getenv("TALVANE_SERVICE_URL"),
                                 talvane::Timer1IntervalMs(std::getenv("TALVANE_TICK_MS")));
    if (!program.form().Form_Load()) return 0;
    const int status = QApplication::exec();
    // The proxy library's thread, stuck with a left-behind request, would
    // hold the process at its end for good: it ends here instead.
    if (program.requestsLeftBehind()) std::_Exit(status);
    return status;
}
