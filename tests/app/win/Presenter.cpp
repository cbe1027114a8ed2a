// A stand-in for a slide show under Wine: a window that covers the primary
// monitor and takes the foreground, and logs to a file the characters typed
// into it and any loss of the activation:
//   presenter LOGFILE
// Typing "w" puts it into a 400 x 300 window, as leaving a slide show does.
#include <windows.h>

#include <cstdio>

namespace {

FILE* logFile = nullptr;

void note(const char* text) {
    std::fputs(text, logFile);
    std::fflush(logFile);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR: {
            const char typed[] = {static_cast<char>(wParam), '\n', '\0'};
            note(typed);
            if (wParam == 'w') SetWindowPos(window, nullptr, 40, 40, 400, 300, SWP_NOZORDER);
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                // Which window took it: its class names the culprit.
                char name[64] = "none";
                if (lParam != 0) GetClassNameA(reinterpret_cast<HWND>(lParam), name, sizeof name);
                note("deactivated by ");
                note(name);
                note("\n");
            }
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    logFile = _wfopen(commandLine, L"w");
    if (logFile == nullptr) return 2;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"TalvaneTestPresenter";
    RegisterClassExW(&windowClass);
    const HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, L"presenter", WS_POPUP | WS_VISIBLE, 0, 0,
                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                        nullptr, instance, nullptr);
    SetForegroundWindow(window);
    note("shown\n");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    std::fclose(logFile);
    return 0;
}
