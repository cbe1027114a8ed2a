#pragma once

#include "card/CardLayout.h"
#include "input/PressCapture.h"

namespace talvane::card {

enum class CardButton { Primary, Other };

// What a button's release on a card does.
enum class CardClick {
    Nothing,      // no press of that button began on the card, or it ended off it
    Close,        // the close corner, another button, or a card without a link
    OpenAndClose  // the primary button elsewhere on a card with a link
};

// Presses and releases on one card: a click counts only when its press
// began on the card and its release ends there too (the press is held as
// the panel holds its presses), so a drag that passes over the card, or one
// that started on it and left, opens nothing. The face captures the pointer
// from press to release.
class CardPress {
  public:
    void press(CardButton button, Point at, const CardLayout& card);
    CardClick release(CardButton button, Point at, const CardLayout& card, bool hasLink);
    // The press is void: the pointer went to another window before its
    // release.
    void lose() { capture_.lose(); }

  private:
    PressCapture capture_;
};

}  // namespace talvane::card
