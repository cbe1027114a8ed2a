#pragma once

#include <functional>
#include <string>
#include <vector>

namespace talvane {

// The button codes the program's tray handler receives.
enum class TrayButton : int { Left = 1, Right = 2, Middle = 4 };

struct MenuItem {
    std::u16string caption;  // "-" is a separator line; '&' marks the access key
};

// The notification-area icon.
class Tray {
  public:
    virtual ~Tray() = default;

    // Showing an icon that is already shown changes nothing (one icon).
    virtual void setShown(bool shown) = 0;
    virtual void setTooltip(const std::u16string& tip) = 0;

    // Pops the menu up at the pointer and returns when it has closed: the
    // index of the chosen item, or -1 when none was chosen.
    virtual int showMenu(const std::vector<MenuItem>& items) = 0;

    // Whether the desktop runs a notification area that can hold the icon
    // right now. Without one the icon is there but cannot be seen or
    // clicked, and the panel is the program's only way in.
    virtual bool hostAvailable() const { return true; }

    // A mouse action on the icon; set by the program before the icon shows.
    std::function<void(TrayButton button)> onButton;
};

}  // namespace talvane
