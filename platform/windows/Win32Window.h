#pragma once

#include <windows.h>

#include <optional>

#include "platform/AppWindow.h"

namespace talvane {

// The program's window through user32: style words for the frame, a window
// region for the visible area, positions from the logical DPI of the
// monitor the window is on (the process is per-monitor DPI aware, so every
// pixel here is a physical one).
class Win32Window : public AppWindow {
  public:
    // The window must outlive this object.
    explicit Win32Window(HWND hwnd);

    WindowFrame frame() const override;
    void setFrame(const WindowFrame& frame) override;
    void setVisibleArea(const RoundRectRegion& region) override;

    ScreenMetrics screen() const override;
    void moveTo(float leftTwips, float topTwips) override;
    TwipPoint position() const override;

    void setWindowState(WindowState state) override;
    WindowState windowState() const override;
    void setVisible(bool visible) override;
    bool isVisible() const override;
    void showModeless() override;
    void startSystemMove() override;
    void repaint(const TwipRect& rect) override;
    void unload() override;

    // WM_DPICHANGED: the visible area keeps its size in inches.
    void dpiChanged(UINT newDpi);

    float twipsPerPixel() const;

    // The visible area in pixels at the present DPI; null before one is set.
    const RoundRectRegion* visibleArea() const { return hasArea_ ? &area_ : nullptr; }

  private:
    RECT monitorRect() const;
    void applyFrame(const WindowFrame& frame);
    void applyArea();
    void applyPlace(POINT place);
    void applyWaitingShape();

    HWND hwnd_;
    UINT dpi_;
    RoundRectRegion area_{};
    bool hasArea_ = false;
    // A hidden window keeps the state, frame, shape and place it is to be
    // shown with: start-up sets them all on the hidden panel, and under Wine
    // each one made there costs X requests before the tray icon shows.
    WindowState hiddenState_ = WindowState::Normal;
    std::optional<WindowFrame> waitingFrame_;
    bool areaWaiting_ = false;
    std::optional<POINT> waitingPlace_;
};

}  // namespace talvane
