#include "platform/qt/X11Presence.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace talvane {
namespace {

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

std::uint32_t atom(xcb_connection_t* connection, std::string_view name) {
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.data()),
            nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<std::uint32_t>(XCB_ATOM_NONE);
}

// Up to 64 values of a 32-bit property; empty when it is missing.
ReplyPtr<xcb_get_property_reply_t> property(xcb_connection_t* connection, xcb_window_t window,
                                            std::uint32_t name, std::uint32_t type) {
    return ReplyPtr<xcb_get_property_reply_t>(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, window, name, type, 0, 64), nullptr),
        &std::free);
}

}  // namespace

bool X11Presence::acceptsNotifications() const {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return true;
    if (activeWindow_ == XCB_ATOM_NONE) {
        activeWindow_ = atom(connection, "_NET_ACTIVE_WINDOW");
        state_ = atom(connection, "_NET_WM_STATE");
        fullscreen_ = atom(connection, "_NET_WM_STATE_FULLSCREEN");
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto active = property(connection, root, activeWindow_, XCB_ATOM_WINDOW);
    if (!active || xcb_get_property_value_length(active.get()) < 4) return true;
    const xcb_window_t window =
        *static_cast<const xcb_window_t*>(xcb_get_property_value(active.get()));
    if (window == XCB_WINDOW_NONE) return true;
    const auto states = property(connection, window, state_, XCB_ATOM_ATOM);
    if (!states) return true;
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(states.get()));
    const int count = xcb_get_property_value_length(states.get()) / 4;
    for (int i = 0; i < count; ++i) {
        if (values[i] == fullscreen_) return false;
    }
    return true;
}

}  // namespace talvane
