#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include "input/TrayClicks.h"
#include "platform/Tray.h"

namespace talvane {

// The notification-area icon over QSystemTrayIcon. A tray host that appears
// after start-up still gets the icon: Qt embeds it as soon as the host is
// there.
class QtTray : public QObject, public Tray {
  public:
    explicit QtTray(const QIcon& trayicon, QObject* parent = nullptr);

    void setShown(bool shown) override;
    void setTooltip(const std::u16string& tip) override;
    int showMenu(const std::vector<MenuItem>& items) override;
    // An XEmbed tray or a StatusNotifierItem host, as Qt sees it now.
    bool hostAvailable() const override;

    QSystemTrayIcon& icon() { return icon_; }

  private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon icon_;
    TrayClicks clicks_;
};

}  // namespace talvane
