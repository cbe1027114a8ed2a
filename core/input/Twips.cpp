#include "input/Twips.h"

#include <cmath>

namespace talvane {

float TwipsPerPixel(int dotsPerInch) {
    return dotsPerInch > 0 ? 1440.0f / static_cast<float>(dotsPerInch) : 15.0f;
}

float ToTwips(float pixels, float twipsPerPixel) { return pixels * twipsPerPixel; }

float ToPixels(float twips, float twipsPerPixel) { return twips / twipsPerPixel; }

int ToWholePixels(float twips, float twipsPerPixel) {
    return static_cast<int>(std::lround(ToPixels(twips, twipsPerPixel)));
}

PixelBox CoveringPixels(const TwipRect& rect, float twipsPerPixel) {
    return {static_cast<int>(std::floor(ToPixels(rect.left, twipsPerPixel))),
            static_cast<int>(std::floor(ToPixels(rect.top, twipsPerPixel))),
            static_cast<int>(std::ceil(ToPixels(rect.right(), twipsPerPixel))),
            static_cast<int>(std::ceil(ToPixels(rect.bottom(), twipsPerPixel)))};
}

TwipRect TwipsOfPixels(const PixelBox& box, float twipsPerPixelX, float twipsPerPixelY) {
    return {ToTwips(static_cast<float>(box.left), twipsPerPixelX),
            ToTwips(static_cast<float>(box.top), twipsPerPixelY),
            ToTwips(static_cast<float>(box.right - box.left), twipsPerPixelX),
            ToTwips(static_cast<float>(box.bottom - box.top), twipsPerPixelY)};
}

}  // namespace talvane
