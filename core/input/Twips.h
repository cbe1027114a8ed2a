#pragma once

#include "platform/Geometry.h"

namespace talvane {

// Twips (1/1440 inch) and pixels, through a screen's twips-per-pixel ratio:
// 15 at 96 dots per inch, 12 at 120, 10 at 144, 7.5 at 192.
float TwipsPerPixel(int dotsPerInch);

float ToTwips(float pixels, float twipsPerPixel);
float ToPixels(float twips, float twipsPerPixel);
// The pixel nearest to a position in twips, for faces that draw on whole
// pixels; halves round away from zero.
int ToWholePixels(float twips, float twipsPerPixel);

// Whole pixels, right and bottom exclusive.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PixelBox&) const = default;
};

// The smallest box of whole pixels that holds the rectangle, so that a
// repaint of it leaves no partly covered pixel stale.
PixelBox CoveringPixels(const TwipRect& rect, float twipsPerPixel);

// The rectangle in twips that a box of pixels (a dirty area) covers.
TwipRect TwipsOfPixels(const PixelBox& box, float twipsPerPixelX, float twipsPerPixelY);

}  // namespace talvane
