#include "app/FormShape.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace talvane {

namespace {

constexpr double kRegionWidthTwips = 3845;
constexpr double kRegionHeightTwips = 10360;
constexpr int kWidthTrim = 5;
constexpr int kHeightTrim = 30;
constexpr int kCornerEllipse = 12;
constexpr double kStandardTwipsPerPixel = 15;

// A screen that reports no sensible ratio would otherwise give a region of
// garbage size; the standard 96 dpi ratio keeps the panel usable.
double usableRatio(float ratio) {
    return std::isfinite(ratio) && ratio > 0 ? ratio : kStandardTwipsPerPixel;
}

int pixelsTiesToEven(double twips, float ratio) {
    const double quotient = twips / usableRatio(ratio);
    const double rounded = std::nearbyint(quotient);  // FE_TONEAREST: ties to even
    if (rounded > std::numeric_limits<int>::max() / 2) {
        return std::numeric_limits<int>::max() / 2;
    }
    return static_cast<int>(rounded);
}

}  // namespace

WindowFrame FrameWith(WindowFrame frame, bool withFrame) {
    if (withFrame) return WindowFrame{};
    frame.border = false;
    frame.titleBar = false;
    frame.sizingBorder = false;
    frame.maximizeBox = false;
    return frame;
}

RoundRectRegion TransparencyRegion(float twipsPerPixelX, float twipsPerPixelY) {
    if (std::fegetround() != FE_TONEAREST) {
        std::fesetround(FE_TONEAREST);
    }
    const int width = pixelsTiesToEven(kRegionWidthTwips, twipsPerPixelX);
    const int height = pixelsTiesToEven(kRegionHeightTwips, twipsPerPixelY);
    return {0, 0, width - kWidthTrim, height - kHeightTrim, kCornerEllipse, kCornerEllipse};
}

float PanelLeftTwips(float screenWidthTwips) {
    double left = screenWidthTwips;
    left -= 4275;
    left -= 30;
    return static_cast<float>(left);
}

}  // namespace talvane
