#include <gtest/gtest.h>

#include "input/PressCapture.h"
#include "input/TrayClicks.h"

namespace talvane {
namespace {

constexpr int kLeft = 1;
constexpr int kRight = 2;

TEST(PressCapture, AReleaseClicksOnlyWhenItsOwnSinglePressIsHeld) {
    PressCapture c;
    EXPECT_FALSE(c.release(kLeft)) << "a release without its press";

    c.press(kLeft, PressKind::Single, {100, 200});
    EXPECT_TRUE(c.holding());
    EXPECT_FALSE(c.release(kRight)) << "another button's release";
    EXPECT_EQ(c.release(kLeft), (TwipPoint{100, 200}));
    EXPECT_FALSE(c.holding());
    EXPECT_FALSE(c.release(kLeft)) << "the press is not used twice";

    c.press(kLeft, PressKind::SecondOfDouble, {100, 200});
    EXPECT_FALSE(c.release(kLeft)) << "a double click's second press";

    c.press(kLeft, PressKind::Single, {100, 200});
    c.markSecondOfDouble(kLeft);  // the double click announced after its press
    EXPECT_FALSE(c.release(kLeft));

    c.press(kLeft, PressKind::Single, {100, 200});
    c.lose();  // the capture went to a menu or the move loop
    EXPECT_FALSE(c.release(kLeft));

    c.press(kLeft, PressKind::Single, {100, 200});
    c.press(kLeft, PressKind::Single, {300, 400});
    EXPECT_EQ(c.release(kLeft), (TwipPoint{300, 400})) << "the latest press counts";
}

// The halves Win32 reports for the icon and the whole clicks Qt reports go
// through one rule: a left double click toggles the panel once.
TEST(TrayClicks, ADoubleClickRaisesOneLeftEvent_OnBothKindsOfSystem) {
    using B = TrayButton;
    TrayClicks halves;  // WM_LBUTTONDOWN, UP, DBLCLK, UP
    int events = 0;
    halves.press(B::Left, false);
    events += halves.release(B::Left).has_value();
    halves.press(B::Left, true);
    events += halves.release(B::Left).has_value();
    EXPECT_EQ(events, 1);

    TrayClicks whole;  // Trigger, DoubleClick
    EXPECT_EQ(whole.click(B::Left, false), B::Left);
    EXPECT_FALSE(whole.click(B::Left, true));

    // Right and middle count every time: each opens the menu or restores.
    TrayClicks fast;
    EXPECT_EQ(fast.click(B::Right, false), B::Right);
    EXPECT_EQ(fast.click(B::Right, true), B::Right);
    EXPECT_EQ(fast.click(B::Middle, true), B::Middle);

    // An up without its down (the press began off the icon) raises nothing.
    TrayClicks stray;
    EXPECT_FALSE(stray.release(B::Left));
    stray.press(B::Right, false);
    EXPECT_FALSE(stray.release(B::Left));
}

}  // namespace
}  // namespace talvane
