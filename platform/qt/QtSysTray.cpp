#include "platform/qt/QtSysTray.h"

#include <QString>

namespace talvane {

QtSysTray::QtSysTray(const QIcon& trayicon, QObject* parent) : QObject(parent), icon_(trayicon) {
    connect(&icon_, &QSystemTrayIcon::activated, this, &QtSysTray::onActivated);
}

void QtSysTray::setIntray(bool inTray) {
    if (icon_.isVisible() != inTray) {
        icon_.setVisible(inTray);
    }
}

void QtSysTray::setTraytip(const std::u16string& tip) {
    icon_.setToolTip(QString::fromStdU16String(tip));
}

void QtSysTray::onActivated(QSystemTrayIcon::ActivationReason reason) {
    if (!TrayMouse) {
        return;
    }
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            TrayMouse(1, 0);
            break;
        case QSystemTrayIcon::Context:
            TrayMouse(2, 0);
            break;
        case QSystemTrayIcon::MiddleClick:
            TrayMouse(4, 0);
            break;
        case QSystemTrayIcon::DoubleClick:
        case QSystemTrayIcon::Unknown:
            // A double click has already raised a Trigger for its first press.
            break;
    }
}

}  // namespace talvane
