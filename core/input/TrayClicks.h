#pragma once

#include <optional>

#include "input/PressCapture.h"
#include "platform/Tray.h"

namespace talvane {

// How mouse actions on the tray icon become the program's tray events: a
// press and release of one button is that button's event; the second click
// of a left double click raises nothing, so a double click toggles the
// panel once. Right and middle clicks count each time, however fast.
class TrayClicks {
  public:
    // For systems that report the halves of a click (Win32's notification
    // messages). secondOfDouble: the press is a double click's second.
    void press(TrayButton button, bool secondOfDouble);
    std::optional<TrayButton> release(TrayButton button);

    // For systems that report whole clicks (Qt's activation reasons).
    std::optional<TrayButton> click(TrayButton button, bool secondOfDouble);

  private:
    PressCapture capture_;
};

}  // namespace talvane
