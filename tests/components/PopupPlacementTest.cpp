#include <gtest/gtest.h>

#include "components/displaymsg/PopupPlacement.h"

namespace talvane::displaymsg {
namespace {

TEST(stackPopups, PutsTheNewestBottomRightAndOlderOnesAbove) {
    const QRect screen(0, 0, 1024, 768);
    const auto places = stackPopups(screen, {QSize(320, 150), QSize(320, 100)}, 50);
    ASSERT_EQ(places.size(), 2);
    EXPECT_EQ(places[0], QRect(1024 - 12 - 320, 768 - 50 - 150, 320, 150));
    EXPECT_EQ(places[1].bottom(), places[0].top() - 1 - card::kStackSpacing);
    EXPECT_EQ(places[1].right(), places[0].right());
}

TEST(stackPopups, StaysInsideSmallOrOffsetAreas) {
    // An area that does not start at the origin (a panel on the left/top).
    const QRect area(100, 30, 600, 400);
    const auto places = stackPopups(area, {QSize(320, 150), QSize(320, 150), QSize(320, 150)}, 50);
    EXPECT_EQ(places[0].right(), area.right() - 12);
    EXPECT_EQ(places[0].bottom(), area.bottom() - 50);
    EXPECT_EQ(places[2].top(), area.top());

    // A gap larger than half the area is cut down; a card wider than the
    // area starts at its left edge.
    const QRect tiny(0, 0, 200, 120);
    const auto cramped = stackPopups(tiny, {QSize(320, 100)}, 300);
    EXPECT_EQ(cramped[0].left(), 0);
    EXPECT_EQ(cramped[0].top(), 0);
    EXPECT_TRUE(tiny.contains(cramped[0].topLeft()));
}

}  // namespace
}  // namespace talvane::displaymsg
