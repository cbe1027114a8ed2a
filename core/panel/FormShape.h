#pragma once

#include "platform/AppWindow.h"
#include "platform/Geometry.h"

namespace talvane {

// The frame switched on (every part) or off. Off keeps the system menu and
// the minimise box, so that the panel still minimises and has a window menu
// in the task list; it loses the border, caption, sizing edges and the
// maximise box.
WindowFrame FrameWith(WindowFrame frame, bool withFrame);

// The visible region: 3845 x 10360 twips turned into pixels (ties to even),
// trimmed by 5 and 30 pixels, corners rounded by a 12 x 12 ellipse.
RoundRectRegion TransparencyRegion(float twipsPerPixelX, float twipsPerPixelY);

// Left edge of the panel, 4275 + 30 twips left of the screen's right edge.
float PanelLeftTwips(float screenWidthTwips);
inline constexpr float kPanelTopTwips = 80;

}  // namespace talvane
