// talvane.exe: wires the Windows platform and the Win32 face to the notifier
// window, then runs the message loop.
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "TalvaneVersion.h"
#include "app/frmMain.h"
#include "app/win/PanelWindow.h"
#include "app/win/resource.h"
#include "components/displaymsg-win/DisplayMsgIdentity.h"
#include "platform/common/ReseedingRandom.h"
#include "platform/windows/AnsiCodePage.h"
#include "platform/windows/ComPopupComponents.h"
#include "platform/windows/LocalTimeClock.h"
#include "platform/windows/ModulePaths.h"
#include "platform/windows/MutexInstanceLock.h"
#include "platform/windows/ProfileSettingsStore.h"
#include "platform/windows/ShellOpener.h"
#include "platform/windows/UserFolders.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32Presence.h"
#include "platform/windows/Win32Tray.h"
#include "platform/windows/Win32Window.h"
#include "platform/windows/WinHttpClient.h"
#include "service/PollTimer.h"
#include "service/ServiceBaseUrl.h"
#include "settings/SettingsLocation.h"
#include "startup/StartupRules.h"
#include "support/win32/GdiOwners.h"

namespace {

// A console program's answer when started from a console, a message box
// when started from Explorer (a GUI program has no console of its own).
void show(const std::wstring& text, bool error) {
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
        DWORD written = 0;
        WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        FreeConsole();
        return;
    }
    MessageBoxW(nullptr, text.c_str(), L"talvane", error ? MB_ICONERROR : MB_ICONINFORMATION);
}

// Shows what the start-up rules say; the lock is taken only when they get
// that far.
class WindowsStartup : public talvane::StartupFace {
  public:
    void tell(const std::string& text, bool error) override {
        show(talvane::win::WideFromUtf8(text), error);
    }
    talvane::InstanceLock& takeInstanceLock() override { return lock.emplace(); }

    std::optional<talvane::MutexInstanceLock> lock;
};

std::vector<std::string> commandLineArguments() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> arguments;
    for (int i = 1; argv != nullptr && i < argc; ++i) {
        arguments.push_back(talvane::win::Utf8FromWide(argv[i]));
    }
    LocalFree(argv);
    return arguments;
}

HICON trayIcon(HWND window) {
    const UINT dpi = GetDpiForWindow(window);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TALVANE),
                                         IMAGE_ICON, GetSystemMetricsForDpi(SM_CXSMICON, dpi),
                                         GetSystemMetricsForDpi(SM_CYSMICON, dpi), 0));
}

// Beside the program when its folder is writable or its setting.ini holds a
// number, else %LOCALAPPDATA%\Talvane (a per-machine install in Program
// Files); decided once, before the settings are first read.
std::string settingsFolderFor(const talvane::AppPaths& executable, talvane::SettingsStore& store,
                              const talvane::CodePage& codePage) {
    const std::string folder = executable.applicationDirectory();
    return talvane::ChooseSettingsDirectory(
        folder, talvane::IsWritableFolder(folder),
        talvane::ExecutableSettingsHoldNumber(executable, store, codePage),
        talvane::UserSettingsFolder());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace talvane;

    // Before anything can load a library: only System32 is searched, never
    // the program's folder, where anyone who can write to a shared folder or
    // a USB stick could plant a DLL of the same name.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    WindowsStartup startup;
    if (const auto status = ApplyStartupRules(
            {commandLineArguments(), std::getenv("TALVANE_SERVICE_URL"), TALVANE_VERSION},
            startup)) {
        return *status;
    }
    MutexInstanceLock& instance = *startup.lock;
    const std::u16string serviceBaseUrl = ServiceBaseUrlFrom(std::getenv("TALVANE_SERVICE_URL"));
    WinHttpClient http;

    PanelWindow view;
    Win32Window window(view.hwnd());
    // Destroyed after the tray, which shows it.
    const win::UniqueIcon icon(trayIcon(view.hwnd()));
    // The proxy lookup loads WinHTTP and what it brings on a thread of its
    // own, to overlap the tray's window and the form, and unloads them when
    // it is done. Not earlier: making the first top-level window loads the
    // input method and the theme, and loading the icon reads the program's
    // resources; both wait for the loader lock while the lookup's libraries
    // set themselves up (under Wine the icon came about 8 ms later at the
    // median).
    http.lookUpProxyAhead(serviceBaseUrl);
    Win32Tray tray(icon.get());
    ShellOpener opener;
    ProfileSettingsStore settings;
    AnsiCodePage codePage;
    ModulePaths executable;
    const SettingsLocation paths(executable, settingsFolderFor(executable, settings, codePage));
    LocalTimeClock clock;
    ReseedingRandom random(GetCurrentProcessId());
    ComPopupComponents components({{"Flarebox.DisplayMsg", displaymsg::kDisplayMsgClsid}});
    Win32Presence presence;

    frmMain form(FormServices{instance, window, tray, opener, settings, codePage, paths, clock,
                              random, http, components, serviceBaseUrl, &presence});
    view.attach(form, window);
    view.onSettingChange = [&http](const wchar_t* area) {
        if (MayChangeProxy(area)) http.proxySettingsChanged();
    };
    // Timer1 runs from the window's creation; ticks queue behind start-up.
    view.startTimer(Timer1IntervalMs(std::getenv("TALVANE_TICK_MS")));

    if (!form.Form_Load()) {
        return 0;
    }
    // An installer that replaces the program's files through the Restart
    // Manager ends it and starts the new version afterwards. Not after a
    // crash, a hang or a reboot: the Run value starts it at login.
    RegisterApplicationRestart(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
