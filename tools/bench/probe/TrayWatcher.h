#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace talvane::bench {

// How far a program's tray icon has come, as the tray host's window tree
// shows it.
enum class IconStage { None, Mapped, Drawn };

struct IconObservation {
    IconStage stage = IconStage::None;
    xcb_window_t window = XCB_NONE;
    int width = 0;
    int height = 0;
};

// Watches the window tree of the tray host (the top-level window of class
// "trayer") through its own X connection, for icons that other clients
// embed there. One round of requests per poll; no helper processes.
class TrayWatcher {
  public:
    ~TrayWatcher();
    TrayWatcher(const TrayWatcher&) = delete;
    TrayWatcher& operator=(const TrayWatcher&) = delete;

    // Connects to $DISPLAY and finds the tray host; nullptr with a reason
    // in `error` when either fails.
    static std::unique_ptr<TrayWatcher> connect(std::string& error);

    // Windows inside the host now belong to programs already running; only
    // windows that appear later count as the watched program's icon.
    void takeBaseline();

    // An icon counts as mapped once a new foreign window inside the host is
    // viewable and at least 8 x 8 (some toolkits map it 1 pixel wide
    // first), and as drawn once its pixels show more than one colour.
    IconObservation poll();

    // Viewable top-level windows of the client that created `window`, for
    // telling whether a program shows anything besides its icon.
    int shownTopLevelsOfClient(xcb_window_t window);

  private:
    TrayWatcher(xcb_connection_t* connection, xcb_window_t root, xcb_window_t host);
    void collectForeign(xcb_window_t parent, int depthLeft, std::set<xcb_window_t>& out);
    IconObservation inspect(xcb_window_t window);
    bool isDrawn(xcb_window_t window, int width, int height);

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_window_t host_;
    std::uint32_t resourceMask_;
    std::set<xcb_window_t> baseline_;
};

}  // namespace talvane::bench
