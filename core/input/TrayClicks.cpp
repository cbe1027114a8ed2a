#include "input/TrayClicks.h"

namespace talvane {

void TrayClicks::press(TrayButton button, bool secondOfDouble) {
    const bool doubleClick = secondOfDouble && button == TrayButton::Left;
    capture_.press(static_cast<int>(button),
                   doubleClick ? PressKind::SecondOfDouble : PressKind::Single);
}

std::optional<TrayButton> TrayClicks::release(TrayButton button) {
    if (!capture_.release(static_cast<int>(button))) {
        return std::nullopt;
    }
    return button;
}

std::optional<TrayButton> TrayClicks::click(TrayButton button, bool secondOfDouble) {
    press(button, secondOfDouble);
    return release(button);
}

}  // namespace talvane
