#include "platform/qt/QtTray.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QString>

namespace talvane {

QtTray::QtTray(const QIcon& trayicon, QObject* parent) : QObject(parent), icon_(trayicon) {
    connect(&icon_, &QSystemTrayIcon::activated, this, &QtTray::onActivated);
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
