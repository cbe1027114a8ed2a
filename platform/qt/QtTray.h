#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <optional>
#include <vector>

#include "input/TrayClicks.h"
#include "platform/Tray.h"

namespace talvane {

// The notification-area icon over QSystemTrayIcon. A tray host that appears
// after start-up still gets the icon: Qt embeds it as soon as the host is
// there.
class QtTray : public QObject, public Tray {
  public:
    // menuItems: the tray menu, exported with the icon for hosts that draw
    // menus themselves.
    QtTray(const QIcon& trayicon, const std::vector<MenuItem>& menuItems,
           QObject* parent = nullptr);

    void setShown(bool shown) override;
    void setTooltip(const std::u16string& tip) override;
    int showMenu(const std::vector<MenuItem>& items) override;
    // An XEmbed tray or a StatusNotifierItem host, as Qt sees it now.
    bool hostAvailable() const override;

    QSystemTrayIcon& icon() { return icon_; }

  private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void exportMenu(const std::vector<MenuItem>& items);
    void onExportedChoice(QAction* action);
    int choiceInExportedMenu();

    // Before the icon, which refers to it until it is gone.
    QMenu exported_;
    QSystemTrayIcon icon_;
    std::vector<MenuItem> exportedItems_;
    // An item chosen in a menu the host drew, for the right-button handler
    // it starts to pick up through showMenu.
    std::optional<int> hostChoice_;
    // While showMenu waits for the exported menu that Qt popped up itself.
    bool waiting_ = false;
    int chosen_ = -1;
    TrayClicks clicks_;
};

}  // namespace talvane
