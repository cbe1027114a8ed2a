// talvane-bench-card-win.exe: shows one reminder card with the Windows
// card's own code, the way Flarebox.DisplayMsg.dll does, and measures the
// process's CPU from the call until the card has closed itself. Prints one
// line:
//   card label=win32 lifetime_ms=N wall_ms=N cpu_ms=X
#include <windows.h>

#include <cstdio>
#include <string>

#include "components/displaymsg-win/CardWindow.h"
#include "components/displaymsg/AlertText.h"
#include "tools/bench/CardSample.h"

namespace {

double cpuMs() {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
    const auto ticks = [](FILETIME time) {
        return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return double(ticks(kernel) + ticks(user)) / 1e4;  // 100-ns units
}

// A card shows in a program whose panel window already exists: Wine's
// display driver, its X connection and input method are set up by then.
// The Qt bench pays the like before its measurement, in QApplication.
HWND standInForThePanel() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TalvaneBenchPanel";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

}  // namespace

int wmain() {
    using namespace talvane::displaymsg;
    setCardModule(GetModuleHandleW(nullptr));
    const HWND panel = standInForThePanel();
    const std::u16string message = kBenchCardMessage;
    const double before = cpuMs();
    const ULONGLONG start = GetTickCount64();
    std::wstring reason;
    if (!showCard(parseAlertText(message, u"unknown value", u"http://127.0.0.1:8765"),
                  popupTimingFrom(kBenchCardTenths, 50), message, reason)) {
        std::fwprintf(stderr, L"talvane-bench-card-win: %ls\n", reason.c_str());
        return 1;
    }
    MSG msg;
    while (openCards() > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::printf("card label=win32 lifetime_ms=%d wall_ms=%llu cpu_ms=%.1f\n",
                kBenchCardTenths * 100, GetTickCount64() - start, cpuMs() - before);
    releaseCardClass();
    DestroyWindow(panel);
    return 0;
}
