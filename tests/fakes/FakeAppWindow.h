#pragma once

#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "platform/AppWindow.h"

namespace talvane::testing {

// A window that remembers its state and logs every change in the program's
// terms, e.g. "moveTo 11055 80", "setFrame frameless".
class FakeAppWindow : public AppWindow {
  public:
    explicit FakeAppWindow(CallLog& log) : log_(log) {}

    WindowFrame currentFrame;
    ScreenMetrics metrics;  // 1024 pixels at 15 twips per pixel
    TwipPoint at;
    WindowState state = WindowState::Normal;
    bool visible = false;
    RoundRectRegion region;
    std::vector<TwipRect> repainted;

    WindowFrame frame() const override { return currentFrame; }
    void setFrame(const WindowFrame& f) override {
        log_.add(std::string("setFrame ") + (f.hasCaptionOrBorder() ? "framed" : "frameless"));
        currentFrame = f;
    }
    void setVisibleArea(const RoundRectRegion& r) override {
        log_.add("setVisibleArea " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                 std::to_string(r.right) + " " + std::to_string(r.bottom) + " " +
                 std::to_string(r.ellipseWidth) + " " + std::to_string(r.ellipseHeight));
        region = r;
    }
    ScreenMetrics screen() const override { return metrics; }
    void moveTo(float left, float top) override {
        log_.add("moveTo " + std::to_string(static_cast<int>(left)) + " " +
                 std::to_string(static_cast<int>(top)));
        at = {left, top};
    }
    TwipPoint position() const override { return at; }
    void setWindowState(WindowState s) override {
        log_.add("setWindowState " + std::to_string(static_cast<int>(s)));
        state = s;
    }
    WindowState windowState() const override { return state; }
    void setVisible(bool v) override {
        log_.add(std::string("setVisible ") + (v ? "1" : "0"));
        visible = v;
    }
    bool isVisible() const override { return visible; }
    void showModeless() override {
        log_.add("show");
        visible = true;
    }
    void startSystemMove() override { log_.add("startSystemMove"); }
    void repaint(const TwipRect& rect) override { repainted.push_back(rect); }
    void unload() override { log_.add("unload"); }

  private:
    CallLog& log_;
};

}  // namespace talvane::testing
