#include "app/qt/Composition.h"

#include "artwork/Artwork.h"
#include "platform/linux/UserFolders.h"
#include "service/ServiceBaseUrl.h"

namespace talvane {
namespace {

// Beside the executable when that folder is writable or its setting.ini
// holds a number, else the user's configuration folder; decided once,
// before the settings are first read.
std::string SettingsFolderFor(const AppPaths& executable, SettingsStore& store,
                              const CodePage& codePage) {
    const std::string folder = executable.applicationDirectory();
    return ChooseSettingsDirectory({folder, IsWritableDirectory(folder), UserConfigHome(),
                                    UserHome(),
                                    ExecutableSettingsHoldNumber(executable, store, codePage)});
}

}  // namespace

Composition::Composition(FlockInstanceLock& instance, const char* serviceBaseUrl, int tickMs)
    // One picture for the window and the tray: drawing it takes milliseconds.
    : icon_(artwork::appIcon()),
      window_(view_),
      tray_(icon_, frmMain::mnuTray()),
      codePage_("GBK"),
      paths_(executable_, SettingsFolderFor(executable_, settings_, codePage_)),
      components_(ComponentAutomation::defaultSearchDirectories(paths_.applicationDirectory())),
      form_(FormServices{instance, window_, tray_, opener_, settings_, codePage_, paths_, clock_,
                         random_, http_, components_, ServiceBaseUrlFrom(serviceBaseUrl),
                         &presence_}) {
    view_.setWindowIcon(icon_);
    view_.attach(form_, window_);
    // Timer1 runs from the window's creation; ticks queue behind start-up.
    timer1_.setInterval(tickMs);
    QObject::connect(&timer1_, &QTimer::timeout, [this] { form_.Timer1_Timer(); });
    timer1_.start();
    // Counted from here; a slow start-up only makes the wait end sooner
    // after it.
    trayHostWait_.setSingleShot(true);
    trayHostWait_.setInterval(kTrayHostWaitMs);
    QObject::connect(&trayHostWait_, &QTimer::timeout,
                     [this] { form_.ShowPanelWithoutTrayHost(); });
    trayHostWait_.start();
    if (instance.requestSocket() >= 0) {
        showRequests_.setSocket(instance.requestSocket());
        QObject::connect(&showRequests_, &QSocketNotifier::activated,
                         [&instance] { instance.serveShowRequests(); });
        showRequests_.setEnabled(true);
    }
}

}  // namespace talvane
