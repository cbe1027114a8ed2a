#include "platform/qt/DesktopPresence.h"

#include <xcb/xcb.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <cstdint>
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

bool activeWindowIsFullScreen() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return false;
    // Atoms live as long as the X server: interned at the first question.
    static const std::uint32_t activeWindow = atom(connection, "_NET_ACTIVE_WINDOW");
    static const std::uint32_t state = atom(connection, "_NET_WM_STATE");
    static const std::uint32_t fullScreen = atom(connection, "_NET_WM_STATE_FULLSCREEN");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto active = property(connection, root, activeWindow, XCB_ATOM_WINDOW);
    if (!active || xcb_get_property_value_length(active.get()) < 4) return false;
    const xcb_window_t window =
        *static_cast<const xcb_window_t*>(xcb_get_property_value(active.get()));
    if (window == XCB_WINDOW_NONE) return false;
    const auto states = property(connection, window, state, XCB_ATOM_ATOM);
    if (!states) return false;
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(states.get()));
    const int count = xcb_get_property_value_length(states.get()) / 4;
    for (int i = 0; i < count; ++i) {
        if (values[i] == fullScreen) return true;
    }
    return false;
}

// Bounded: a notification service that does not answer must not hold the
// tick for long.
constexpr int kInhibitedAnswerMs = 500;

bool notificationsInhibited() {
    const QString service = QStringLiteral("org.freedesktop.Notifications");
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Only a running service is asked: a call would start an activatable
    // one just to hear "no".
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(service).value()) {
        return false;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << service << QStringLiteral("Inhibited");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kInhibitedAnswerMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

}  // namespace

bool DesktopPresence::acceptsNotifications() const {
    return !activeWindowIsFullScreen() && !notificationsInhibited();
}

}  // namespace talvane
