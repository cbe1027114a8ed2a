#include <gtest/gtest.h>

#include "app/RowDisplay.h"
#include "tests/core/panel/PanelTestSupport.h"

namespace talvane {
namespace {

using N = ElementName;
using testing::HitAt;
using testing::LaidOutPanel;

TEST(HitTest, StripBetweenHoverAreas_IsBackgroundUnlessAHighlightCoversIt) {
    PanelModel m = LaidOutPanel();
    EXPECT_EQ(HitAt(m, 100, 3254), "ImgNULL(0)");
    EXPECT_EQ(HitAt(m, 100, 3255), "background");
    EXPECT_EQ(HitAt(m, 100, 3380), "background");
    EXPECT_EQ(HitAt(m, 100, 3419), "background");
    EXPECT_EQ(HitAt(m, 100, 3420), "ImgNULL(1)");
    // Row 0's time line reaches 120 twips into the strip.
    EXPECT_EQ(HitAt(m, 1000, 3374), "lblTime(0)");
    EXPECT_EQ(HitAt(m, 1000, 3375), "background");
    // So does the 15-twip column right of the hover areas.
    EXPECT_EQ(HitAt(m, 3740, 2500), "background");

    m.setVisible(N::ImgBack, 1, true);
    EXPECT_EQ(HitAt(m, 100, 3380), "ImgBack(1)");
    EXPECT_EQ(HitAt(m, 100, 3280), "background");

    m.setVisible(N::ImgBack, 1, false);
    m.setVisible(N::ImgBack, 0, true);
    EXPECT_EQ(HitAt(m, 100, 3280), "ImgBack(0)");
    EXPECT_EQ(HitAt(m, 100, 3380), "background");
}

TEST(HitTest, BadgeCoversTitleInRowsOneToFour_ButRowZerosTitleCoversItsBadge) {
    PanelModel m = LaidOutPanel();
    for (int i = 0; i < kPanelRows; ++i) {
        const float y = 2450 + 1500 * i;
        EXPECT_EQ(HitAt(m, 3100, y), i == 0 ? "lblList(0)" : "imgNew(" + std::to_string(i) + ")");
        m.setVisible(N::imgNew, i, false);
        EXPECT_EQ(HitAt(m, 3100, y), "lblList(" + std::to_string(i) + ")");
    }
    // Row 0's arrow and badge lie beneath the hover area everywhere.
    EXPECT_EQ(HitAt(m, 200, 2200), "ImgNULL(0)");
    EXPECT_EQ(HitAt(m, 200, 3700), "imgArrow(1)");
}

TEST(HitTest, TimeLineCoversStatusLineWhereTheyOverlap) {
    const PanelModel m = LaidOutPanel();
    for (int i = 0; i < kPanelRows; ++i) {
        const std::string row = "(" + std::to_string(i) + ")";
        EXPECT_EQ(HitAt(m, 1000, 2999 + 1500 * i), "lblReg" + row);
        EXPECT_EQ(HitAt(m, 1000, 3000 + 1500 * i), "lblTime" + row);
        EXPECT_EQ(HitAt(m, 1000, 3054 + 1500 * i), "lblTime" + row);
    }
}

TEST(HitTest, OpenBalloonsCoverTheRowsBeneath_AndLeaveALeftMargin) {
    PanelModel m = LaidOutPanel();
    lblList_MouseMove(m, 1);
    EXPECT_EQ(HitAt(m, 200, 4200), "ImgContent(1)");      // row 1's status line
    EXPECT_EQ(HitAt(m, 1000, 4550), "txtMainTop(1)");     // row 1's time line
    EXPECT_EQ(HitAt(m, 2000, 5200), "txtMainBottom(1)");  // row 2's title
    EXPECT_EQ(HitAt(m, 200, 5200), "ImgContent(1)");
    EXPECT_EQ(HitAt(m, 99, 5200), "ImgNULL(2)");
    EXPECT_EQ(HitAt(m, 1000, 3700), "lblList(1)");  // its own title stays free

    PanelModel last = LaidOutPanel();
    lblList_MouseMove(last, 4);
    EXPECT_EQ(HitAt(last, 3000, 6000), "ImgContent(4)");  // row 2's time line
    EXPECT_EQ(HitAt(last, 1000, 6000), "txtMainTop(4)");
    EXPECT_EQ(HitAt(last, 1000, 7000), "txtMainBottom(4)");  // row 3's title
    EXPECT_EQ(HitAt(last, 49, 7000), "ImgNULL(3)");
    EXPECT_EQ(HitAt(last, 1000, 7920), "ImgNULL(4)");
    EXPECT_EQ(HitAt(last, 1000, 8200), "lblList(4)");
}

TEST(HitTest, HeaderAndFooter_RouteToTheirHotAreasAndBackground) {
    const PanelModel m = LaidOutPanel();
    EXPECT_EQ(HitAt(m, 2639, 100), "background");
    EXPECT_EQ(HitAt(m, 2999, 100), "imgMini");
    EXPECT_EQ(HitAt(m, 3000, 100), "imgClose");
    EXPECT_EQ(HitAt(m, 3014, 100), "imgClose");
    EXPECT_EQ(HitAt(m, 3615, 100), "background");
    EXPECT_EQ(HitAt(m, 100, 1000), "background");
    EXPECT_EQ(HitAt(m, 120, 1000), "Image1");

    EXPECT_EQ(HitAt(m, 1000, 9374), "lblTime(4)");
    EXPECT_EQ(HitAt(m, 1000, 9400), "background");
    EXPECT_EQ(HitAt(m, 1000, 9490), "lblBottom2");
    EXPECT_EQ(HitAt(m, 1000, 9750), "lblBottom1");  // the shadow's lowest 20 twips
    EXPECT_EQ(HitAt(m, 150, 9600), "background");
}

}  // namespace
}  // namespace talvane
