#pragma once

#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "platform/WindowServices.h"

namespace talvane::testing {

// A window that remembers its state and logs every call, e.g. "setLeft 11055".
class FakeWindowServices : public WindowServices {
  public:
    explicit FakeWindowServices(CallLog& log) : log_(log) {}

    std::uint32_t style = 0x16CF0000;
    float screenWidth = 15360;  // 1024 pixels at 15 twips per pixel
    float ratioX = 15;
    float ratioY = 15;
    float leftTwips = 0;
    float topTwips = 0;
    WindowState state = WindowState::Normal;
    bool visible = false;
    RoundRectRegion region;
    int menuChoice = -1;  // what the user picks in the next popup menu
    std::vector<MenuItem> lastMenu;
    std::vector<TwipRect> invalidated;

    std::uint32_t GetWindowLong(int index) override {
        log_.add("GetWindowLong " + std::to_string(index));
        return style;
    }
    void SetWindowLong(int index, std::uint32_t value) override {
        log_.add("SetWindowLong " + std::to_string(index));
        style = value;
    }
    void SetWindowPos(std::uint32_t flags) override {
        log_.add("SetWindowPos " + std::to_string(flags));
    }
    void SetWindowRgn(const RoundRectRegion& r, bool redraw) override {
        log_.add(std::string("SetWindowRgn") + (redraw ? " redraw" : ""));
        region = r;
    }
    float screenWidthTwips() const override { return screenWidth; }
    float twipsPerPixelX() const override { return ratioX; }
    float twipsPerPixelY() const override { return ratioY; }
    void setLeft(float twips) override {
        log_.add("setLeft " + std::to_string(static_cast<int>(twips)));
        leftTwips = twips;
    }
    void setTop(float twips) override {
        log_.add("setTop " + std::to_string(static_cast<int>(twips)));
        topTwips = twips;
    }
    float left() const override { return leftTwips; }
    float top() const override { return topTwips; }
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
    void show() override {
        log_.add("show");
        visible = true;
    }
    int popupMenu(const std::vector<MenuItem>& items) override {
        log_.add("popupMenu");
        lastMenu = items;
        return menuChoice;
    }
    void startSystemMove() override { log_.add("startSystemMove"); }
    void unload() override { log_.add("unload"); }
    void invalidate(const TwipRect& rect) override { invalidated.push_back(rect); }

  private:
    CallLog& log_;
};

}  // namespace talvane::testing
