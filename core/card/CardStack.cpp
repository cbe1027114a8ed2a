#include "card/CardStack.h"

#include <algorithm>

namespace talvane::card {

namespace {

int scaled(int pixels, int dpi) { return (pixels * dpi + 48) / 96; }

}  // namespace

std::vector<CardBox> stackCards(const CardBox& available, const std::vector<CardBox>& newestFirst,
                                int bottomGap, int dpi) {
    std::vector<CardBox> places;
    // The gap must not push even one card off a small screen.
    int bottom =
        available.top + available.height - std::min(scaled(bottomGap, dpi), available.height / 2);
    const int right = available.left + available.width - scaled(kRightGap, dpi);
    for (const CardBox& card : newestFirst) {
        const int left = std::max(available.left, right - card.width);
        const int top = std::max(available.top, bottom - card.height);
        places.push_back({left, top, card.width, card.height});
        bottom = top - scaled(kStackSpacing, dpi);
    }
    return places;
}

}  // namespace talvane::card
