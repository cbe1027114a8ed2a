#include "card/CardPress.h"

namespace talvane::card {

namespace {

bool onCard(Point at, const CardLayout& card) {
    return CardBox{0, 0, card.width, card.height}.contains(at);
}

}  // namespace

void CardPress::press(CardButton button, Point at, const CardLayout& card) {
    (button == CardButton::Primary ? primaryDown_ : otherDown_) = onCard(at, card);
}

CardClick CardPress::release(CardButton button, Point at, const CardLayout& card, bool hasLink) {
    bool& down = button == CardButton::Primary ? primaryDown_ : otherDown_;
    const bool began = down;
    down = false;
    if (!began || !onCard(at, card)) return CardClick::Nothing;
    if (button == CardButton::Primary && hasLink && !card.closeTarget.contains(at)) {
        return CardClick::OpenAndClose;
    }
    return CardClick::Close;
}

}  // namespace talvane::card
