#pragma once

#include <functional>
#include <string>

namespace talvane {

// The tray component cSysTray1. Writing true to intray while the icon is
// already there changes nothing (one icon, no error). The icon goes away
// with the component.
class SysTray {
  public:
    virtual ~SysTray() = default;

    virtual void setIntray(bool inTray) = 0;
    virtual void setTraytip(const std::u16string& tip) = 0;

    // TrayMouse(button, second value): 1 left, 2 right, 4 middle.
    std::function<void(int button, int value)> TrayMouse;
};

}  // namespace talvane
