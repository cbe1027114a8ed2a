#pragma once

#include <vector>

#include "card/CardGeometry.h"

// Where reminder cards go on the screen, in plain standard C++ so that the
// Qt card and the Windows card stack alike.
namespace talvane::card {

// At 96 dpi; stackCards scales them.
inline constexpr int kRightGap = 12;
inline constexpr int kStackSpacing = 8;
// Beyond this many cards the oldest one closes.
inline constexpr int kMostCards = 3;

// Where cards of the given heights and widths go, newest first, inside the
// available area (all in device pixels at dpi): the newest at the
// bottom-right of the area, bottomGap (pixels at 96 dpi) above its bottom
// edge, each older one above the one after it. A card that would leave the
// top of the area is placed at its top edge; the gap never takes more than
// half the area.
std::vector<CardBox> stackCards(const CardBox& available, const std::vector<CardBox>& newestFirst,
                                int bottomGap, int dpi = 96);

}  // namespace talvane::card
