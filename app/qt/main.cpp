// Talvane: wires the Linux platform and the Qt face to the notifier window.
#include <malloc.h>

#include <QApplication>
#include <QThreadPool>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/qt/Composition.h"
#include "artwork/Artwork.h"
#include "platform/linux/FlockInstanceLock.h"
#include "service/PollTimer.h"
#include "startup/StartupRules.h"

#ifndef TALVANE_VERSION
#define TALVANE_VERSION "unknown"
#endif

namespace {

constexpr int kPoolThreadExpiryMs = 2000;

// Writes what the start-up rules say; the lock is taken only when they
// get that far.
class LinuxStartup : public talvane::StartupFace {
  public:
    void tell(const std::string& text, bool error) override {
        std::fputs(text.c_str(), error ? stderr : stdout);
    }
    talvane::InstanceLock& takeInstanceLock() override { return lock.emplace(); }

    std::optional<talvane::FlockInstanceLock> lock;
};

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

constexpr int kLargeAllocationBytes = 256 * 1024;

}  // namespace

int main(int argc, char* argv[]) {
    // A page body of up to 16 MiB is read on a thread of its own; glibc's
    // moving mmap threshold would keep such buffers in per-thread heaps
    // after they are freed, so a day of large pages held their memory. A
    // fixed threshold gives every large buffer back when it goes.
    mallopt(M_MMAP_THRESHOLD, kLargeAllocationBytes);
    LinuxStartup startup;
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    if (const auto status = talvane::ApplyStartupRules(
            {arguments, std::getenv("TALVANE_SERVICE_URL"), TALVANE_VERSION}, startup)) {
        return *status;
    }
    talvane::FlockInstanceLock& instance = *startup.lock;
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
