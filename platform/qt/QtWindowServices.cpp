#include "platform/qt/QtWindowServices.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QRegion>
#include <QScreen>
#include <QWindow>
#include <cmath>

#include "app/FormShape.h"

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

QtWindowServices::QtWindowServices(QWidget& window) : window_(window) {
    window_.installEventFilter(this);
}

bool QtWindowServices::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::WindowStateChange &&
        window_.isMinimized() && !undoLateIconify_.hasExpired()) {
        QMetaObject::invokeMethod(
            &window_, [this] { window_.showNormal(); }, Qt::QueuedConnection);
    }
    return false;
}

std::uint32_t QtWindowServices::GetWindowLong(int index) { return index == kGwlStyle ? style_ : 0; }

void QtWindowServices::SetWindowLong(int index, std::uint32_t value) {
    if (index == kGwlStyle) {
        style_ = value;
    }
}

void QtWindowServices::SetWindowPos(std::uint32_t flags) {
    if ((flags & kSwpFrameChanged) == 0) {
        return;
    }
    const bool visible = window_.isVisible();
    window_.setWindowFlag(Qt::FramelessWindowHint, !StyleHasFrame(style_));
    if (visible) {
        window_.show();  // changing window flags hides a top-level widget
    }
}

void QtWindowServices::SetWindowRgn(const RoundRectRegion& region, bool redraw) {
    window_.setMask(roundRectRegion(region));
    if (redraw) {
        window_.update();
    }
}

float QtWindowServices::screenWidthTwips() const {
    return static_cast<float>(screenOf(window_)->geometry().width()) * twipsPerPixelX();
}

float QtWindowServices::twipsPerPixelX() const {
    return twipsPerPixel(screenOf(window_)->logicalDotsPerInchX());
}

float QtWindowServices::twipsPerPixelY() const {
    return twipsPerPixel(screenOf(window_)->logicalDotsPerInchY());
}

void QtWindowServices::setLeft(float twips) {
    const QRect screen = screenOf(window_)->geometry();
    window_.move(screen.x() + static_cast<int>(std::lround(twips / twipsPerPixelX())), window_.y());
}

void QtWindowServices::setTop(float twips) {
    const QRect screen = screenOf(window_)->geometry();
    window_.move(window_.x(), screen.y() + static_cast<int>(std::lround(twips / twipsPerPixelY())));
}

float QtWindowServices::left() const {
    return static_cast<float>(window_.x() - screenOf(window_)->geometry().x()) * twipsPerPixelX();
}

float QtWindowServices::top() const {
    return static_cast<float>(window_.y() - screenOf(window_)->geometry().y()) * twipsPerPixelY();
}

void QtWindowServices::setWindowState(WindowState state) {
    if (state == WindowState::Minimized) {
        undoLateIconify_ = QDeadlineTimer();  // expired: this iconify is wanted
    }
    Qt::WindowStates states = window_.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == WindowState::Minimized) {
        states |= Qt::WindowMinimized;
    } else if (state == WindowState::Maximized) {
        states |= Qt::WindowMaximized;
    }
    window_.setWindowState(states);
}

WindowState QtWindowServices::windowState() const {
    const Qt::WindowStates states = window_.windowState();
    if (states & Qt::WindowMinimized) {
        return WindowState::Minimized;
    }
    return (states & Qt::WindowMaximized) ? WindowState::Maximized : WindowState::Normal;
}

void QtWindowServices::setVisible(bool visible) { window_.setVisible(visible); }

bool QtWindowServices::isVisible() const { return window_.isVisible(); }

void QtWindowServices::show() {
    if (window_.windowState() & Qt::WindowMinimized) {
        window_.showMinimized();
    } else {
        undoLateIconify_.setRemainingTime(1000);
        window_.show();
        window_.raise();
    }
}

int QtWindowServices::popupMenu(const std::vector<MenuItem>& items) {
    QMenu menu;
    std::vector<QAction*> actions;
    for (const MenuItem& item : items) {
        if (item.caption == u"-") {
            actions.push_back(menu.addSeparator());
        } else {
            actions.push_back(menu.addAction(QString::fromStdU16String(item.caption)));
        }
    }
    QAction* chosen = menu.exec(QCursor::pos());
    for (std::size_t i = 0; i < actions.size(); ++i) {
        if (actions[i] == chosen && chosen != nullptr && !chosen->isSeparator()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void QtWindowServices::startSystemMove() {
    if (QWindow* handle = window_.windowHandle()) {
        handle->startSystemMove();
    }
}

void QtWindowServices::unload() {
    window_.hide();
    QCoreApplication::quit();
}

void QtWindowServices::invalidate(const TwipRect& rect) {
    const float tx = twipsPerPixelX();
    const float ty = twipsPerPixelY();
    const int x0 = static_cast<int>(std::floor(rect.left / tx));
    const int y0 = static_cast<int>(std::floor(rect.top / ty));
    const int x1 = static_cast<int>(std::ceil(rect.right() / tx));
    const int y1 = static_cast<int>(std::ceil(rect.bottom() / ty));
    window_.update(QRect(x0, y0, x1 - x0, y1 - y0));
}

}  // namespace talvane
