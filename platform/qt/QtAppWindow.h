#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QWidget>

#include "platform/AppWindow.h"

namespace talvane {

// The program's window as one top-level Qt widget. Positions and rectangles
// come in twips and are turned into the screen's logical pixels.
class QtAppWindow : public QObject, public AppWindow {
  public:
    explicit QtAppWindow(QWidget& window);

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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void applyState(WindowState state);

    QWidget& window_;
    WindowState hiddenState_ = WindowState::Normal;
    // A window manager may carry out an iconify that was asked for just
    // before the window was hidden only after it is shown again; for a
    // moment after showModeless() such a late iconify is undone.
    QDeadlineTimer undoLateIconify_;
    // Qt draws a frame as a whole: any part on gives the window manager's
    // decoration, none gives a frameless window.
    WindowFrame frame_;
};

}  // namespace talvane
