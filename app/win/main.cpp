// talvane.exe: wires the Windows platform and the Win32 face to the notifier
// window, then runs the message loop.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>

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
#include "platform/windows/Win32Tray.h"
#include "platform/windows/Win32Window.h"
#include "platform/windows/WinHttpClient.h"
#include "service/PollTimer.h"
#include "service/ServiceBaseUrl.h"

#define TALVANE_WIDE_(text) L##text
#define TALVANE_WIDE(text) TALVANE_WIDE_(text)

namespace {

constexpr wchar_t kUsage[] =
    L"Usage: talvane [--help | --version]\n"
    L"\n"
    L"Web-seminar tray notifier. Without arguments it starts in the notification\n"
    L"area; while it runs, a second start for the same user ends at once.\n"
    L"\n"
    L"  --help     show this text and exit\n"
    L"  --version  show the version and the service address built in, and exit\n"
    L"\n"
    L"Environment:\n"
    L"  TALVANE_SERVICE_URL  base URL of the service, http or https (default: the\n"
    L"                       address built in)\n"
    L"  TALVANE_TICK_MS      timer interval in milliseconds, for tests (10..60000)\n";

// A console program's answer when started from a console, a message box
// when started from Explorer (a GUI program has no console of its own).
void tell(const std::wstring& text, bool error) {
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
        DWORD written = 0;
        WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        FreeConsole();
        return;
    }
    MessageBoxW(nullptr, text.c_str(), L"talvane", error ? MB_ICONERROR : MB_ICONINFORMATION);
}

// Arguments are settled before the instance lock: asking for the version
// must neither start nor stop a notifier. -1: go on and run.
int handleArguments() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int status = -1;
    if (argc == 2 && lstrcmpW(argv[1], L"--version") == 0) {
        const std::string builtIn = talvane::BuiltInServiceBaseUrl();
        tell(L"talvane " TALVANE_WIDE(TALVANE_VERSION) L"\nservice " +
                 std::wstring(builtIn.begin(), builtIn.end()) + L"\n",
             false);
        status = 0;
    } else if (argc == 2 && lstrcmpW(argv[1], L"--help") == 0) {
        tell(kUsage, false);
        status = 0;
    } else if (argc > 1) {
        tell(L"talvane: unexpected argument '" + std::wstring(argv[argc == 2 ? 1 : 2]) +
                 L"' (see talvane --help)\n",
             true);
        status = 2;
    }
    LocalFree(argv);
    return status;
}

HICON trayIcon(HWND window) {
    const UINT dpi = GetDpiForWindow(window);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TALVANE),
                                         IMAGE_ICON, GetSystemMetricsForDpi(SM_CXSMICON, dpi),
                                         GetSystemMetricsForDpi(SM_CYSMICON, dpi), 0));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace talvane;

    if (const int status = handleArguments(); status >= 0) {
        return status;
    }
    // A service address that is no web address would send every request,
    // and the client number, who knows where: refused before anything else.
    if (const auto problem = ServiceBaseUrlProblem(std::getenv("TALVANE_SERVICE_URL"))) {
        tell(L"talvane: " + std::wstring(problem->begin(), problem->end()) + L"\n", true);
        return 2;
    }
    // The lock comes first: a second start ends at once, without a window,
    // the settings file or the network, after asking the running instance
    // to bring its panel forward.
    MutexInstanceLock instance;
    if (instance.earlierInstanceRunning()) {
        instance.askEarlierInstanceToShow();
        return 0;
    }
    PanelWindow view;
    Win32Window window(view.hwnd());
    // Destroyed after the tray, which shows it.
    const std::unique_ptr<std::remove_pointer_t<HICON>, decltype(&DestroyIcon)> icon(
        trayIcon(view.hwnd()), &DestroyIcon);
    Win32Tray tray(icon.get());
    ShellOpener opener;
    ProfileSettingsStore settings;
    AnsiCodePage codePage;
    ModulePaths paths;
    LocalTimeClock clock;
    ReseedingRandom random(GetCurrentProcessId());
    WinHttpClient http;
    ComPopupComponents components({{"Flarebox.DisplayMsg", displaymsg::kDisplayMsgClsid}});

    frmMain form(FormServices{instance, window, tray, opener, settings, codePage, paths, clock,
                              random, http, components,
                              ServiceBaseUrlFrom(std::getenv("TALVANE_SERVICE_URL"))});
    view.attach(form, window);
    // Timer1 runs from the window's creation; ticks queue behind start-up.
    view.startTimer(Timer1IntervalMs(std::getenv("TALVANE_TICK_MS")));

    if (!form.Form_Load()) {
        return 0;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
