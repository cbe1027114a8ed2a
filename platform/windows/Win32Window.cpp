#include "platform/windows/Win32Window.h"

#include "input/Twips.h"
#include "support/win32/GdiOwners.h"

#include <utility>

namespace talvane {
namespace {

// The frame's parts as style bits. A caption is WS_BORDER plus WS_DLGFRAME,
// so the border and the title bar each own one half of it.
struct FrameBit {
    bool WindowFrame::*part;
    LONG bit;
};
constexpr FrameBit kFrameBits[] = {
    {&WindowFrame::border, WS_BORDER},           {&WindowFrame::titleBar, WS_DLGFRAME},
    {&WindowFrame::systemMenu, WS_SYSMENU},      {&WindowFrame::sizingBorder, WS_THICKFRAME},
    {&WindowFrame::minimizeBox, WS_MINIMIZEBOX}, {&WindowFrame::maximizeBox, WS_MAXIMIZEBOX},
};

}  // namespace

Win32Window::Win32Window(HWND hwnd) : hwnd_(hwnd), dpi_(GetDpiForWindow(hwnd)) {
    if (dpi_ == 0) dpi_ = USER_DEFAULT_SCREEN_DPI;
}

WindowFrame Win32Window::frame() const {
    if (waitingFrame_) return *waitingFrame_;
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    WindowFrame frame;
    for (const FrameBit& b : kFrameBits) frame.*b.part = (style & b.bit) != 0;
    return frame;
}

void Win32Window::setFrame(const WindowFrame& frame) {
    if (!IsWindowVisible(hwnd_)) {
        waitingFrame_ = frame;
        return;
    }
    applyFrame(frame);
}

void Win32Window::applyFrame(const WindowFrame& frame) {
    LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    for (const FrameBit& b : kFrameBits) style = frame.*b.part ? (style | b.bit) : (style & ~b.bit);
    SetWindowLongW(hwnd_, GWL_STYLE, style);
    // A new frame is no reason to take the activation from whatever the
    // user works in (start-up changes the frame of the hidden panel).
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER |
                     SWP_NOACTIVATE);
}

void Win32Window::setVisibleArea(const RoundRectRegion& region) {
    area_ = region;
    hasArea_ = true;
    areaWaiting_ = !IsWindowVisible(hwnd_);
    if (!areaWaiting_) applyArea();
}

void Win32Window::applyArea() {
    win::UniqueRegion rgn(CreateRoundRectRgn(area_.left, area_.top, area_.right, area_.bottom,
                                             area_.ellipseWidth, area_.ellipseHeight));
    // The window owns the region once it has taken it.
    if (SetWindowRgn(hwnd_, rgn.get(), TRUE) != 0) rgn.release();
}

void Win32Window::dpiChanged(UINT newDpi) {
    if (newDpi == 0 || newDpi == dpi_) return;
    // By value: the old DPI must still be the divisor after dpi_ changes.
    const int oldDpi = static_cast<int>(dpi_);
    const auto scale = [=](int v) { return MulDiv(v, static_cast<int>(newDpi), oldDpi); };
    dpi_ = newDpi;
    if (hasArea_) {
        setVisibleArea({scale(area_.left), scale(area_.top), scale(area_.right),
                        scale(area_.bottom), scale(area_.ellipseWidth),
                        scale(area_.ellipseHeight)});
    }
}

RECT Win32Window::monitorRect() const {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

float Win32Window::twipsPerPixel() const { return TwipsPerPixel(static_cast<int>(dpi_)); }

ScreenMetrics Win32Window::screen() const {
    const RECT monitor = monitorRect();
    const float tpp = twipsPerPixel();
    return {ToTwips(static_cast<float>(monitor.right - monitor.left), tpp), tpp, tpp};
}

void Win32Window::moveTo(float leftTwips, float topTwips) {
    const RECT monitor = monitorRect();
    const float tpp = twipsPerPixel();
    const POINT place{monitor.left + ToWholePixels(leftTwips, tpp),
                      monitor.top + ToWholePixels(topTwips, tpp)};
    if (!IsWindowVisible(hwnd_)) {
        waitingPlace_ = place;
        return;
    }
    applyPlace(place);
}

void Win32Window::applyPlace(POINT place) {
    SetWindowPos(hwnd_, nullptr, place.x, place.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TwipPoint Win32Window::position() const {
    POINT corner{};
    if (waitingPlace_) {
        corner = *waitingPlace_;
    } else {
        RECT box{};
        GetWindowRect(hwnd_, &box);
        corner = {box.left, box.top};
    }
    const RECT monitor = monitorRect();
    const float tpp = twipsPerPixel();
    return {ToTwips(static_cast<float>(corner.x - monitor.left), tpp),
            ToTwips(static_cast<float>(corner.y - monitor.top), tpp)};
}

void Win32Window::setWindowState(WindowState state) {
    if (!IsWindowVisible(hwnd_)) {
        hiddenState_ = state;
        return;
    }
    if (state != windowState())
        ShowWindow(hwnd_, state == WindowState::Minimized ? SW_MINIMIZE : SW_RESTORE);
}

WindowState Win32Window::windowState() const {
    if (!IsWindowVisible(hwnd_)) return hiddenState_;
    return IsIconic(hwnd_) ? WindowState::Minimized : WindowState::Normal;
}

void Win32Window::setVisible(bool visible) {
    if (visible == static_cast<bool>(IsWindowVisible(hwnd_))) return;
    if (!visible) {
        hiddenState_ = windowState();
        ShowWindow(hwnd_, SW_HIDE);
        return;
    }
    applyWaitingShape();
    ShowWindow(hwnd_, hiddenState_ == WindowState::Minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
}

void Win32Window::applyWaitingShape() {
    if (waitingFrame_) applyFrame(*std::exchange(waitingFrame_, std::nullopt));
    if (std::exchange(areaWaiting_, false)) applyArea();
    if (waitingPlace_) applyPlace(*std::exchange(waitingPlace_, std::nullopt));
}

bool Win32Window::isVisible() const { return IsWindowVisible(hwnd_) != FALSE; }

void Win32Window::showModeless() {
    setVisible(true);
    if (!IsIconic(hwnd_)) SetForegroundWindow(hwnd_);
}

void Win32Window::startSystemMove() {
    ReleaseCapture();
    // SC_MOVE | HTCAPTION: the system's move loop, as if the caption were
    // dragged; returns when the button is released.
    SendMessageW(hwnd_, WM_SYSCOMMAND, 0xF012, 0);
}

void Win32Window::repaint(const TwipRect& rect) {
    const PixelBox box = CoveringPixels(rect, twipsPerPixel());
    const RECT r{box.left, box.top, box.right, box.bottom};
    InvalidateRect(hwnd_, &r, FALSE);
}

void Win32Window::unload() { DestroyWindow(hwnd_); }

}  // namespace talvane
