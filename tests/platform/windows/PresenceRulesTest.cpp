#include <gtest/gtest.h>

#include "platform/windows/Win32Presence.h"

namespace talvane {
namespace {

TEST(Win32Presence, HoldsNotificationsInTheShellsQuietStates_AndOnlyThere) {
    EXPECT_FALSE(Win32Presence::StateAccepts(QUNS_BUSY));
    EXPECT_FALSE(Win32Presence::StateAccepts(QUNS_RUNNING_D3D_FULL_SCREEN));
    EXPECT_FALSE(Win32Presence::StateAccepts(QUNS_PRESENTATION_MODE));
    EXPECT_FALSE(Win32Presence::StateAccepts(QUNS_QUIET_TIME));
    EXPECT_TRUE(Win32Presence::StateAccepts(QUNS_ACCEPTS_NOTIFICATIONS));
    // A locked or switched-away session: the card waits on screen.
    EXPECT_TRUE(Win32Presence::StateAccepts(QUNS_NOT_PRESENT));
    EXPECT_TRUE(Win32Presence::StateAccepts(QUNS_APP));
    EXPECT_TRUE(Win32Presence::StateAccepts(static_cast<QUERY_USER_NOTIFICATION_STATE>(99)));
}

TEST(Win32Presence, CoversMonitor_OnlyWhenNoEdgeOfTheMonitorShows) {
    const RECT monitor{1920, 0, 3840, 1080};  // a second monitor
    EXPECT_TRUE(Win32Presence::CoversMonitor({1920, 0, 3840, 1080}, monitor));
    // Borders hanging over the edges, as a maximised frame's do.
    EXPECT_TRUE(Win32Presence::CoversMonitor({1912, -8, 3848, 1088}, monitor));
    EXPECT_FALSE(Win32Presence::CoversMonitor({1920, 0, 3840, 1040}, monitor));  // taskbar shows
    EXPECT_FALSE(Win32Presence::CoversMonitor({1921, 0, 3840, 1080}, monitor));
    EXPECT_FALSE(Win32Presence::CoversMonitor({0, 0, 1920, 1080}, monitor));  // the other one
}

}  // namespace
}  // namespace talvane
