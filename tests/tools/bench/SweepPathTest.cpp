#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "app/LayoutRows.h"
#include "app/PanelDesign.h"
#include "app/RowDisplay.h"
#include "tools/bench/pointer/Percentile.h"
#include "tools/bench/pointer/SweepPath.h"

namespace talvane::bench {
namespace {

constexpr int kWidth = 251;
constexpr int kHeight = 661;

PanelModel laidOutPanel() {
    PanelModel model = CreatePanelDesign();
    LayoutRows(model);
    return model;
}

TEST(SweepPath, PanelSweep_CrossesEveryHoverAreaAndTitleInSmallSteps) {
    PanelModel model = laidOutPanel();
    const auto path = PanelSweep(model, 15, 15, kWidth, kHeight, 2.0);
    ASSERT_GE(path.size(), 500u);

    std::set<std::pair<ElementName, int>> reached;
    bool background = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const PixelPoint p = path[i];
        ASSERT_TRUE(p.x >= 0 && p.x <= kWidth - 1 && p.y >= 0 && p.y <= kHeight - 1) << i;
        if (i > 0) {
            ASSERT_LE(std::hypot(p.x - path[i - 1].x, p.y - path[i - 1].y), 2.0 + 1e-9) << i;
        }
        // Route the move as the window would, so balloons open and cover.
        const Element* target =
            RouteMouseMove(model, static_cast<float>(p.x * 15), static_cast<float>(p.y * 15));
        if (target == nullptr) {
            background = true;
        } else {
            reached.insert({target->id.name, target->id.index});
        }
    }
    EXPECT_TRUE(background);
    for (int row = 0; row < kPanelRows; ++row) {
        EXPECT_TRUE(reached.count({ElementName::ImgNULL, row})) << "hover area " << row;
        EXPECT_TRUE(reached.count({ElementName::lblList, row})) << "title " << row;
    }
}

TEST(SweepPath, HoverSnapshot_ChangesExactlyWhenAMoveChangesTheScreen) {
    PanelModel model = laidOutPanel();
    const auto rest = HoverSnapshot(model);
    Form_MouseMove(model);
    EXPECT_EQ(HoverSnapshot(model), rest);
    ImgNULL_MouseMove(model, 2);
    const auto hovered = HoverSnapshot(model);
    EXPECT_NE(hovered, rest);
    ImgNULL_MouseMove(model, 2);
    EXPECT_EQ(HoverSnapshot(model), hovered);
    lblList_MouseMove(model, 2);
    EXPECT_NE(HoverSnapshot(model), hovered);
}

TEST(SweepPath, Percentile_IsAMeasuredValue) {
    EXPECT_EQ(Percentile({}, 50), 0);
    EXPECT_EQ(Percentile({7}, 50), 7);
    EXPECT_EQ(Percentile({4, 1, 3, 2}, 50), 2);
    EXPECT_EQ(Percentile({5, 1, 3}, 50), 3);
    EXPECT_EQ(Percentile({5, 1, 3}, 100), 5);
    EXPECT_EQ(Percentile({5, 1, 3}, 0), 1);
}

}  // namespace
}  // namespace talvane::bench
