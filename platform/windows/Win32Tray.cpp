#include "platform/windows/Win32Tray.h"

#include <algorithm>
#include <optional>

#include "platform/windows/SessionEnd.h"

namespace talvane {
namespace {

constexpr UINT kIconMessage = WM_APP + 1;
constexpr UINT kIconId = 1;
constexpr wchar_t kClassName[] = L"TalvaneTrayIcon";

const wchar_t* wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

Win32Tray::Win32Tray(HICON icon)
    : icon_(icon), taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ObjectWindowProc<Win32Tray>;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    hwnd_ =
        CreateWindowExW(0, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this);
}

Win32Tray::~Win32Tray() {
    if (added_) {
        NOTIFYICONDATAW data = iconData(0);
        Shell_NotifyIconW(NIM_DELETE, &data);
    }
    DestroyWindow(hwnd_);
}

NOTIFYICONDATAW Win32Tray::iconData(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd_;
    data.uID = kIconId;
    data.uFlags = flags;
    data.uCallbackMessage = kIconMessage;
    data.hIcon = icon_;
    const size_t n = std::min(tip_.size(), std::size(data.szTip) - 1);
    std::copy_n(tip_.begin(), n, data.szTip);
    return data;
}

void Win32Tray::add() {
    NOTIFYICONDATAW data = iconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void Win32Tray::setShown(bool shown) {
    wanted_ = shown;
    if (shown && !added_) {
        add();
    } else if (!shown && added_) {
        NOTIFYICONDATAW data = iconData(0);
        Shell_NotifyIconW(NIM_DELETE, &data);
        added_ = false;
    }
}

void Win32Tray::setTooltip(const std::u16string& tip) {
    tip_ = tip;
    if (added_) {
        NOTIFYICONDATAW data = iconData(NIF_TIP);
        Shell_NotifyIconW(NIM_MODIFY, &data);
    }
}

int Win32Tray::showMenu(const std::vector<MenuItem>& items) {
    const HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].caption == u"-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING, i + 1, wide(items[i].caption));
        }
    }
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would not close on a click elsewhere;
    // the empty message afterwards lets it close on the first try next time.
    SetForegroundWindow(hwnd_);
    const int chosen = TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTBUTTON, at.x,
        at.y, 0, hwnd_, nullptr);
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen > 0 ? chosen - 1 : -1;
}

LRESULT Win32Tray::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kIconMessage) {
        // Without NOTIFYICON_VERSION_4 lParam is the mouse message itself;
        // the shell sends the second press of a double click as *DBLCLK.
        const UINT mouse = static_cast<UINT>(lParam);
        std::optional<TrayButton> button;
        switch (mouse) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                clicks_.press(TrayButton::Left, mouse == WM_LBUTTONDBLCLK);
                break;
            case WM_RBUTTONDOWN:
            case WM_RBUTTONDBLCLK:
                clicks_.press(TrayButton::Right, mouse == WM_RBUTTONDBLCLK);
                break;
            case WM_MBUTTONDOWN:
            case WM_MBUTTONDBLCLK:
                clicks_.press(TrayButton::Middle, mouse == WM_MBUTTONDBLCLK);
                break;
            case WM_LBUTTONUP:
                button = clicks_.release(TrayButton::Left);
                break;
            case WM_RBUTTONUP:
                button = clicks_.release(TrayButton::Right);
                break;
            case WM_MBUTTONUP:
                button = clicks_.release(TrayButton::Middle);
                break;
            default:
                break;
        }
        if (button && onButton) onButton(*button);
        return 0;
    }
    // The icon's window is a top-level one too: a request to end that
    // reaches it ends the program, not just this window.
    if (EndsProgram(message, wParam)) {
        PostQuitMessage(0);
        return 0;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        added_ = false;
        if (wanted_) add();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace talvane
