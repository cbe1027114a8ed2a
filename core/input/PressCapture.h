#pragma once

#include <optional>

#include "input/PressKind.h"
#include "platform/Geometry.h"

namespace talvane {

// A mouse button's press, held (captured) until that button's release; the
// release then decides whether the two make a click. A face reports the
// halves as its system delivers them and captures the pointer for the
// press, so that the release arrives wherever it happens.
class PressCapture {
  public:
    // button: 1 left, 2 right, 4 middle. A new press replaces a held one.
    void press(int button, PressKind kind, TwipPoint at = {});

    // The press that this release of button completes as a click, and the
    // end of the capture either way. Nothing for a release without its
    // press (the press went to the system's move loop, began outside, or
    // was lost), of another button, or of a double click's second press:
    // that click belongs to the double click, which nothing handles, so a
    // double click acts once.
    std::optional<TwipPoint> release(int button);

    // The press is void: the capture went elsewhere (a menu, the system's
    // move loop, another window).
    void lose() { held_.reset(); }

    // The held press is a double click's second: for faces whose system
    // announces the double click after the press itself.
    void markSecondOfDouble(int button);

    bool holding() const { return held_.has_value(); }

  private:
    struct Held {
        int button;
        PressKind kind;
        TwipPoint at;
    };
    std::optional<Held> held_;
};

}  // namespace talvane
