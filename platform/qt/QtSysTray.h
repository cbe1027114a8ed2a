#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include "platform/SysTray.h"

namespace talvane {

// The tray component over QSystemTrayIcon. A tray host that appears after
// start-up still gets the icon: Qt embeds it as soon as the host is there.
class QtSysTray : public QObject, public SysTray {
  public:
    QtSysTray(const QIcon& trayicon, QObject* parent = nullptr);

    void setIntray(bool inTray) override;
    void setTraytip(const std::u16string& tip) override;

    QSystemTrayIcon& icon() { return icon_; }

  private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon icon_;
};

}  // namespace talvane
