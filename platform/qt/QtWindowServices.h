#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QWidget>

#include "platform/WindowServices.h"

namespace talvane {

// Window services for one top-level Qt widget. Positions and rectangles come
// in twips and are turned into the screen's logical pixels.
class QtWindowServices : public QObject, public WindowServices {
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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    // A window manager may carry out an iconify that was asked for just
    // before the window was hidden only after it is shown again; for a
    // moment after show() such a late iconify is undone.
    QDeadlineTimer undoLateIconify_;
    // A captioned, sizable top-level window, as a window starts out.
    std::uint32_t style_ = 0x16CF0000;
};

}  // namespace talvane
