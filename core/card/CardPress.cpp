#include "card/CardPress.h"

namespace talvane::card {

namespace {

bool onCard(Point at, const CardLayout& card) {
    return CardBox{0, 0, card.width, card.height}.contains(at);
}

int buttonNumber(CardButton button) { return button == CardButton::Primary ? 1 : 2; }

}  // namespace

void CardPress::press(CardButton button, Point at, const CardLayout& card) {
    if (onCard(at, card)) {
        capture_.press(buttonNumber(button), PressKind::Single);
    } else {
        capture_.lose();
    }
}

CardClick CardPress::release(CardButton button, Point at, const CardLayout& card, bool hasLink) {
    const bool began = capture_.release(buttonNumber(button)).has_value();
    if (!began || !onCard(at, card)) return CardClick::Nothing;
    if (button == CardButton::Primary && hasLink && !card.closeTarget.contains(at)) {
        return CardClick::OpenAndClose;
    }
    return CardClick::Close;
}

}  // namespace talvane::card
