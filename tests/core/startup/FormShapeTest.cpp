#include "app/FormShape.h"

#include <gtest/gtest.h>

namespace talvane {
namespace {

TEST(TransparencyRegion, RoundsHalfToEvenAndTrims_AtCommonPixelDensities) {
    struct Case {
        float ratio;
        int right;
        int bottom;
    };
    // 15: 256.33 -> 256, 690.67 -> 691; 12: 320.42 -> 320, 863.33 -> 863;
    // 10: 384.5 ties to 384 (not 385), 1036 exactly.
    for (const Case c : {Case{15, 251, 661}, Case{12, 315, 833}, Case{10, 379, 1006}}) {
        const RoundRectRegion region = TransparencyRegion(c.ratio, c.ratio);
        EXPECT_EQ(region, (RoundRectRegion{0, 0, c.right, c.bottom, 12, 12}))
            << "ratio " << c.ratio;
    }
}

TEST(TransparencyRegion, UsesEachAxisOwnRatio_AndSurvivesANonsenseRatio) {
    const RoundRectRegion mixed = TransparencyRegion(10, 15);
    EXPECT_EQ(mixed.right, 379);
    EXPECT_EQ(mixed.bottom, 661);
    // A screen reporting no ratio falls back to 96 dpi instead of a division error.
    EXPECT_EQ(TransparencyRegion(0, -1), TransparencyRegion(15, 15));
}

TEST(FrameWith, FrameOffKeepsSystemMenuAndMinimiseBox_FrameOnSetsAll) {
    const WindowFrame off = FrameWith(WindowFrame{}, false);
    EXPECT_EQ(off, (WindowFrame{false, false, true, false, true, false}));
    EXPECT_FALSE(off.hasCaptionOrBorder());
    // Parts already off stay off; switching on restores every part.
    WindowFrame bare{false, false, false, false, false, false};
    EXPECT_EQ(FrameWith(bare, false), bare);
    EXPECT_EQ(FrameWith(bare, true), WindowFrame{});
    EXPECT_EQ(FrameWith(off, true), WindowFrame{});
}

TEST(PanelLeftTwips, Puts4305TwipsLeftOfTheRightEdge) {
    EXPECT_FLOAT_EQ(PanelLeftTwips(15360), 11055);  // 1024 px at 15 twips: pixel 737
    EXPECT_FLOAT_EQ(PanelLeftTwips(15360) / 15, 737);
    EXPECT_FLOAT_EQ(kPanelTopTwips / 15, 80.0f / 15);
}

}  // namespace
}  // namespace talvane
