#pragma once

#include "platform/Geometry.h"

namespace talvane {

enum class WindowState : int { Normal = 0, Minimized = 1 };

// Which parts of a window frame are on. The program decides which parts a
// frameless panel keeps; each face draws (or leaves out) what is on.
struct WindowFrame {
    bool border = true;        // thin line around the window
    bool titleBar = true;      // caption with the window's title
    bool systemMenu = true;    // the window menu behind the caption's icon
    bool sizingBorder = true;  // edges that resize
    bool minimizeBox = true;
    bool maximizeBox = true;

    bool hasCaptionOrBorder() const { return border || titleBar || sizingBorder; }
    bool operator==(const WindowFrame&) const = default;
};

// The screen the window is on, in the units the panel's design uses.
struct ScreenMetrics {
    float widthTwips = 15360;
    float twipsPerPixelX = 15;  // 1440 / logical dots per inch
    float twipsPerPixelY = 15;
};

// The program's one top-level window as the windowing system sees it.
// Positions are twips relative to the screen's top-left corner.
class AppWindow {
  public:
    virtual ~AppWindow() = default;

    virtual WindowFrame frame() const = 0;
    // Takes effect at once, also on a window already shown.
    virtual void setFrame(const WindowFrame& frame) = 0;
    // Only the inside of the region is drawn and receives the pointer.
    virtual void setVisibleArea(const RoundRectRegion& region) = 0;

    virtual ScreenMetrics screen() const = 0;
    virtual void moveTo(float leftTwips, float topTwips) = 0;
    virtual TwipPoint position() const = 0;

    virtual void setWindowState(WindowState state) = 0;
    virtual WindowState windowState() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    // Shows the window modeless and brings it to the front.
    virtual void showModeless() = 0;

    // Lets the system move the window as if its caption were dragged, and
    // returns when the move has ended.
    virtual void startSystemMove() = 0;

    // Something inside this rectangle (twips, window-relative) changed.
    virtual void repaint(const TwipRect& rect) = 0;

    // Closes the window; the program ends once control returns to the loop.
    virtual void unload() = 0;
};

}  // namespace talvane
