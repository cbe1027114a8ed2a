// The Win32 floor: the least a Windows tray program does. One hidden window,
// a notification-area icon with a 32 x 32 picture and the message loop,
// nothing else; the benchmarks hold talvane.exe to it under the same Wine.
//   talvane-bench-floor-win.exe [--load A.dll,...] [--load-and-free C.dll,...]
// --load first loads the DLLs named, as a program importing them would at
// its start, and runs nothing of them: what loading them alone costs.
// --load-and-free loads its DLLs after those and unloads them again, as a
// program does with a library it needs only for a moment at start-up.
#include <windows.h>
// windows.h first: shellapi.h builds on its types.
#include <shellapi.h>

#include <cstring>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr int kIconSize = 32;

// Two colours, so that a watcher can tell a drawn icon from an empty window.
HICON floorIcon() {
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, kIconSize, kIconSize);
    HBITMAP mask = CreateBitmap(kIconSize, kIconSize, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, colour);
    RECT all{0, 0, kIconSize, kIconSize};
    HBRUSH blue = CreateSolidBrush(RGB(0x1f, 0x5f, 0xbf));
    FillRect(dc, &all, blue);
    RECT inner{8, 8, 24, 24};
    FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    // An all-black AND mask: every pixel of the picture is opaque.
    SelectObject(dc, mask);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, old);
    DeleteObject(blue);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

LRESULT CALLBACK floorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// The DLLs after `option`, loaded in their order (names only, from the
// system) and, unless kept, unloaded again in the opposite order.
void loadNamedLibraries(const wchar_t* option, bool keep) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    HMODULE loaded[32];
    int count = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (lstrcmpW(argv[i], option) != 0) continue;
        for (wchar_t* name = argv[i + 1]; *name != L'\0';) {
            wchar_t* end = name;
            while (*end != L'\0' && *end != L',') ++end;
            const bool last = *end == L'\0';
            *end = L'\0';
            const HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
            if (module != nullptr && count < 32) loaded[count++] = module;
            if (last) break;
            name = end + 1;
        }
    }
    while (!keep && count > 0) FreeLibrary(loaded[--count]);
    LocalFree(argv);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    loadNamedLibraries(L"--load", true);
    loadNamedLibraries(L"--load-and-free", false);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = floorProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TalvaneBenchFloor";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);

    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = floorIcon();
    std::memcpy(icon.szTip, L"floor", sizeof(L"floor"));
    Shell_NotifyIconW(NIM_ADD, &icon);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    Shell_NotifyIconW(NIM_DELETE, &icon);
    DestroyIcon(icon.hIcon);
    return 0;
}
