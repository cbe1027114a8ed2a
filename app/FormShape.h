#pragma once

#include <cstdint>

#include "platform/Geometry.h"

namespace talvane {

inline constexpr int kGwlStyle = -16;
inline constexpr std::uint32_t kFrameOnMask = 0x00CF0000;   // WS_OVERLAPPEDWINDOW
inline constexpr std::uint32_t kFrameOffMask = 0xFF3AFFFF;  // keeps system menu and minimise box
inline constexpr std::uint32_t kWsCaption = 0x00C00000;
inline constexpr std::uint32_t kWsThickFrame = 0x00040000;
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER
inline constexpr std::uint32_t kFrameChangedFlags = 0x0227;
inline constexpr std::uint32_t kSwpFrameChanged = 0x0020;

// The style word with the frame switched on or off.
std::uint32_t FrameStyleWord(std::uint32_t style, bool withFrame);

// Whether a style word asks for a caption or sizing border at all.
bool StyleHasFrame(std::uint32_t style);

// The visible region: 3845 x 10360 twips turned into pixels (ties to even),
// trimmed by 5 and 30 pixels, corners rounded by a 12 x 12 ellipse.
RoundRectRegion TransparencyRegion(float twipsPerPixelX, float twipsPerPixelY);

// Left edge of the panel, 4275 + 30 twips left of the screen's right edge.
float PanelLeftTwips(float screenWidthTwips);
inline constexpr float kPanelTopTwips = 80;

}  // namespace talvane
