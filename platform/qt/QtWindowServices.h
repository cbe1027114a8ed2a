#pragma once

#include <QWidget>

#include "platform/WindowServices.h"

namespace talvane {

// Window services for one top-level Qt widget. Positions and rectangles come
// in twips and are turned into the screen's logical pixels.
class QtWindowServices : public WindowServices {
public:
    explicit QtWindowServices(QWidget& window);

    std::uint32_t GetWindowLong(int index) override;
    void SetWindowLong(int index, std::uint32_t value) override;
    void SetWindowPos(std::uint32_t flags) override;
    void SetWindowRgn(const RoundRectRegion& region, bool redraw) override;

    float screenWidthTwips() const override;
    float twipsPerPixelX() const override;
    float twipsPerPixelY() const override;

    void setLeft(float twips) override;
    void setTop(float twips) override;
    float left() const override;
    float top() const override;

    void setWindowState(WindowState state) override;
    WindowState windowState() const override;
    void setVisible(bool visible) override;
    bool isVisible() const override;
    void show() override;

    int popupMenu(const std::vector<MenuItem>& items) override;
    void startSystemMove() override;
    void unload() override;
    void invalidate(const TwipRect& rect) override;

private:
    QWidget& window_;
    // A captioned, sizable top-level window, as a window starts out.
    std::uint32_t style_ = 0x16CF0000;
};

}  // namespace talvane
