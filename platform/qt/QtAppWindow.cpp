#include "platform/qt/QtAppWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace talvane {

namespace {

QScreen* screenOf(const QWidget& window) {
    QScreen* screen = window.screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

float twipsPerPixel(qreal logicalDpi) {
    return logicalDpi > 0 ? static_cast<float>(1440.0 / logicalDpi) : 15.0f;
}

// A Windows round-rect region: right and bottom edges excluded, each corner
// cut along a quarter of the given ellipse.
QRegion roundRectRegion(const RoundRectRegion& r) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) {
        return {};
    }
    const int ew = std::min(r.ellipseWidth, width);
    const int eh = std::min(r.ellipseHeight, height);
    QRegion region(r.left + ew / 2, r.top, width - ew / 2 * 2, height);
    region += QRegion(r.left, r.top + eh / 2, width, height - eh / 2 * 2);
    region += QRegion(r.left, r.top, ew, eh, QRegion::Ellipse);
    region += QRegion(r.right - ew, r.top, ew, eh, QRegion::Ellipse);
    region += QRegion(r.left, r.bottom - eh, ew, eh, QRegion::Ellipse);
    region += QRegion(r.right - ew, r.bottom - eh, ew, eh, QRegion::Ellipse);
    return region;
}

}  // namespace

QtAppWindow::QtAppWindow(QWidget& window) : window_(window) { window_.installEventFilter(this); }

bool QtAppWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::WindowStateChange &&
        window_.isMinimized() && !undoLateIconify_.hasExpired()) {
        QMetaObject::invokeMethod(
            &window_, [this] { window_.showNormal(); }, Qt::QueuedConnection);
    }
    return false;
}

WindowFrame QtAppWindow::frame() const { return frame_; }

void QtAppWindow::setFrame(const WindowFrame& frame) {
    frame_ = frame;
    const bool visible = window_.isVisible();
    window_.setWindowFlag(Qt::FramelessWindowHint, !frame.hasCaptionOrBorder());
    if (visible) {
        window_.show();  // changing window flags hides a top-level widget
    }
}

void QtAppWindow::setVisibleArea(const RoundRectRegion& region) {
    window_.setMask(roundRectRegion(region));
    window_.update();
}

ScreenMetrics QtAppWindow::screen() const {
    const QScreen* screen = screenOf(window_);
    const float tx = twipsPerPixel(screen->logicalDotsPerInchX());
    const float ty = twipsPerPixel(screen->logicalDotsPerInchY());
    return {static_cast<float>(screen->geometry().width()) * tx, tx, ty};
}

void QtAppWindow::moveTo(float leftTwips, float topTwips) {
    const QRect area = screenOf(window_)->geometry();
    const ScreenMetrics metrics = screen();
    window_.move(area.x() + static_cast<int>(std::lround(leftTwips / metrics.twipsPerPixelX)),
                 area.y() + static_cast<int>(std::lround(topTwips / metrics.twipsPerPixelY)));
}

TwipPoint QtAppWindow::position() const {
    const QRect area = screenOf(window_)->geometry();
    const ScreenMetrics metrics = screen();
    return {static_cast<float>(window_.x() - area.x()) * metrics.twipsPerPixelX,
            static_cast<float>(window_.y() - area.y()) * metrics.twipsPerPixelY};
}

void QtAppWindow::applyState(WindowState state) {
    Qt::WindowStates states = window_.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == WindowState::Minimized) {
        states |= Qt::WindowMinimized;
    }
    if (states != window_.windowState()) window_.setWindowState(states);
}

// A hidden window keeps its state for its next showing, as a hidden Win32
// window does: handing it to Qt would make the native window at once, a
// round of X requests that start-up (which minimizes the hidden panel)
// would pay before the tray icon shows.
void QtAppWindow::setWindowState(WindowState state) {
    if (state == WindowState::Minimized) {
        undoLateIconify_ = QDeadlineTimer();  // expired: this iconify is wanted
    }
    if (!window_.isVisible()) {
        hiddenState_ = state;
        return;
    }
    applyState(state);
}

WindowState QtAppWindow::windowState() const {
    if (!window_.isVisible()) return hiddenState_;
    return (window_.windowState() & Qt::WindowMinimized) ? WindowState::Minimized
                                                         : WindowState::Normal;
}

void QtAppWindow::setVisible(bool visible) {
    if (visible == window_.isVisible()) return;
    if (!visible) {
        hiddenState_ = windowState();
        window_.hide();
        return;
    }
    applyState(hiddenState_);
    window_.show();
}

bool QtAppWindow::isVisible() const { return window_.isVisible(); }

void QtAppWindow::showModeless() {
    if (!window_.isVisible()) applyState(hiddenState_);
    if (window_.windowState() & Qt::WindowMinimized) {
        window_.showMinimized();
    } else {
        undoLateIconify_.setRemainingTime(1000);
        window_.show();
        window_.raise();
        // The keyboard comes with it: Tab, Enter and Escape work at once.
        window_.activateWindow();
    }
}

void QtAppWindow::startSystemMove() {
    if (QWindow* handle = window_.windowHandle()) {
        handle->startSystemMove();
    }
}

void QtAppWindow::unload() {
    window_.hide();
    QCoreApplication::quit();
}

void QtAppWindow::repaint(const TwipRect& rect) {
    const ScreenMetrics metrics = screen();
    const float tx = metrics.twipsPerPixelX;
    const float ty = metrics.twipsPerPixelY;
    const int x0 = static_cast<int>(std::floor(rect.left / tx));
    const int y0 = static_cast<int>(std::floor(rect.top / ty));
    const int x1 = static_cast<int>(std::ceil(rect.right() / tx));
    const int y1 = static_cast<int>(std::ceil(rect.bottom() / ty));
    window_.update(QRect(x0, y0, x1 - x0, y1 - y0));
}

}  // namespace talvane
