#pragma once

#include <windows.h>

namespace talvane {

// A window procedure that hands every message to the object whose address
// was CreateWindowExW's last argument: owner->handle(hwnd, message, wParam,
// lParam), from WM_NCCREATE on.
template <typename Owner>
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (owner == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return owner->handle(hwnd, message, wParam, lParam);
}

}  // namespace talvane
