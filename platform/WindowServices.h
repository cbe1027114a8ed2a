#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace talvane {

enum class WindowState : int { Normal = 0, Minimized = 1, Maximized = 2 };

struct MenuItem {
    std::u16string caption;  // "-" is a separator line
};

// What the one window of the program asks of the windowing system.
class WindowServices {
  public:
    virtual ~WindowServices() = default;

    // Style word (GWL_STYLE = -16). SetWindowPos with SWP_FRAMECHANGED makes
    // the window take the frame that the style word describes.
    virtual std::uint32_t GetWindowLong(int index) = 0;
    virtual void SetWindowLong(int index, std::uint32_t value) = 0;
    virtual void SetWindowPos(std::uint32_t flags) = 0;
    virtual void SetWindowRgn(const RoundRectRegion& region, bool redraw) = 0;

    virtual float screenWidthTwips() const = 0;
    virtual float twipsPerPixelX() const = 0;
    virtual float twipsPerPixelY() const = 0;

    virtual void setLeft(float twips) = 0;
    virtual void setTop(float twips) = 0;
    virtual float left() const = 0;
    virtual float top() const = 0;

    virtual void setWindowState(WindowState state) = 0;
    virtual WindowState windowState() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    // Modeless show, no owner window.
    virtual void show() = 0;

    // Pops the menu up at the mouse position and returns when it has closed:
    // the index of the chosen item, or -1 when none was chosen.
    virtual int popupMenu(const std::vector<MenuItem>& items) = 0;

    // Lets the system move the window as if its caption were dragged
    // (ReleaseCapture + WM_SYSCOMMAND 0xF012).
    virtual void startSystemMove() = 0;

    // Unloads the window; the program ends once control returns to the loop.
    virtual void unload() = 0;

    // Something inside this rectangle changed and must be drawn again.
    virtual void invalidate(const TwipRect& rect) = 0;
};

}  // namespace talvane
