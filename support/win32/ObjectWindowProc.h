#pragma once

#include <windows.h>

namespace talvane {

// The window procedure of every window of the program: it hands each
// message to the object whose address was CreateWindowExW's last argument,
// owner->handle(hwnd, message, wParam, lParam), from WM_NCCREATE until
// WM_NCDESTROY; a message for a window without its object (before, after,
// or one created without it) gets the default handling. A new message is a
// new case in the owner's handle().
template <typename Owner>
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (owner == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The object may be gone by the time anything else arrives.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    return owner->handle(hwnd, message, wParam, lParam);
}

}  // namespace talvane
