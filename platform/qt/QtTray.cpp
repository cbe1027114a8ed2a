#include "platform/qt/QtTray.h"

#include <QAction>
#include <QCursor>
#include <QEventLoop>
#include <QMenu>
#include <QString>

namespace talvane {
namespace {

bool sameCaptions(const std::vector<MenuItem>& a, const std::vector<MenuItem>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].caption != b[i].caption) return false;
    }
    return true;
}

}  // namespace

// Hosts that speak StatusNotifierItem draw the exported menu themselves on a
// right click; some (GNOME's AppIndicator extension) never ask the program
// for a menu, so without one 打开 and 退出 could not be reached there.
QtTray::QtTray(const QIcon& trayicon, const std::vector<MenuItem>& menuItems, QObject* parent)
    : QObject(parent), icon_(trayicon) {
    exportMenu(menuItems);
    connect(&exported_, &QMenu::triggered, this, &QtTray::onExportedChoice);
    icon_.setContextMenu(&exported_);
    connect(&icon_, &QSystemTrayIcon::activated, this, &QtTray::onActivated);
}

void QtTray::exportMenu(const std::vector<MenuItem>& items) {
    exported_.clear();
    for (const MenuItem& item : items) {
        if (item.caption == u"-") {
            exported_.addSeparator();
        } else {
            exported_.addAction(QString::fromStdU16String(item.caption));
        }
    }
    exportedItems_ = items;
}

// A choice in the exported menu is the right-button handler's answer: when
// the host drew the menu, the handler has not run yet, so it is started and
// showMenu hands it the choice instead of popping up a menu of its own.
void QtTray::onExportedChoice(QAction* action) {
    const int index = static_cast<int>(exported_.actions().indexOf(action));
    if (waiting_) {
        chosen_ = index;
        return;
    }
    hostChoice_ = index;
    if (onButton) onButton(TrayButton::Right);
    hostChoice_.reset();
}

// On an XEmbed icon Qt pops the exported menu up at the pointer itself
// before it reports the right click: that menu is the one to answer from.
int QtTray::choiceInExportedMenu() {
    QEventLoop loop;
    chosen_ = -1;
    waiting_ = true;
    // An item's triggered signal comes after the menu has hidden.
    const auto closed = connect(&exported_, &QMenu::aboutToHide, &loop, [&loop] {
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    disconnect(closed);
    waiting_ = false;
    return chosen_;
}

void QtTray::setShown(bool shown) {
    if (icon_.isVisible() != shown) {
        icon_.setVisible(shown);
    }
}

void QtTray::setTooltip(const std::u16string& tip) {
    icon_.setToolTip(QString::fromStdU16String(tip));
}

int QtTray::showMenu(const std::vector<MenuItem>& items) {
    if (!sameCaptions(items, exportedItems_)) exportMenu(items);
    if (hostChoice_) return *hostChoice_;
    if (exported_.isVisible()) return choiceInExportedMenu();
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

bool QtTray::hostAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtTray::onActivated(QSystemTrayIcon::ActivationReason reason) {
    if (!onButton) {
        return;
    }
    // Qt reports whole clicks; a double click has already raised a Trigger
    // for its first click.
    std::optional<TrayButton> button;
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            button = clicks_.click(TrayButton::Left, false);
            break;
        case QSystemTrayIcon::DoubleClick:
            button = clicks_.click(TrayButton::Left, true);
            break;
        case QSystemTrayIcon::Context:
            button = clicks_.click(TrayButton::Right, false);
            break;
        case QSystemTrayIcon::MiddleClick:
            button = clicks_.click(TrayButton::Middle, false);
            break;
        case QSystemTrayIcon::Unknown:
            break;
    }
    if (button) {
        onButton(*button);
    }
}

}  // namespace talvane
