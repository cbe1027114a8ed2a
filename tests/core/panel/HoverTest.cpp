#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/RowDisplay.h"
#include "service/RowTable.h"
#include "tests/core/panel/PanelTestSupport.h"

namespace talvane {
namespace {

using N = ElementName;
using testing::Describe;
using testing::LaidOutPanel;

// "back:2 blue:2 balloon:-" - which rows show a highlight, a blue arrow and
// a balloon (all three of its parts, or "?" when only some are shown).
std::string HoverState(const PanelModel& m) {
    std::string back, blue, balloon;
    for (int i = 0; i < kPanelRows; ++i) {
        const std::string row = std::to_string(i);
        if (m.at(N::ImgBack, i).visible) back += row;
        if (m.at(N::imgArrow, i).picture == Picture::ArrowBlue) blue += row;
        const int parts = m.at(N::ImgContent, i).visible + m.at(N::txtMainTop, i).visible +
                          m.at(N::txtMainBottom, i).visible;
        if (parts == 3) balloon += row;
        if (parts == 1 || parts == 2) balloon += "?";
    }
    auto dash = [](const std::string& s) { return s.empty() ? std::string("-") : s; };
    return "back:" + dash(back) + " blue:" + dash(blue) + " balloon:" + dash(balloon);
}

std::string MoveTo(PanelModel& m, float x, float y) {
    const std::string target = Describe(RouteMouseMove(m, x, y));
    return target + " -> " + HoverState(m);
}

TEST(Hover, WalksFromBackgroundThroughRowTwoAndBackToRest) {
    PanelModel m = LaidOutPanel();
    EXPECT_EQ(MoveTo(m, 2000, 500), "background -> back:- blue:- balloon:-");
    EXPECT_EQ(MoveTo(m, 50, 5000), "ImgNULL(2) -> back:2 blue:2 balloon:-");
    EXPECT_EQ(MoveTo(m, 1000, 5200), "lblList(2) -> back:2 blue:2 balloon:2");
    EXPECT_EQ(MoveTo(m, 50, 5200), "ImgNULL(2) -> back:2 blue:2 balloon:-");
    // The first 45 twips of the strip below lie on row 2's own highlight.
    EXPECT_EQ(MoveTo(m, 100, 6280), "ImgBack(2) -> back:2 blue:2 balloon:-");
    EXPECT_EQ(MoveTo(m, 100, 6350), "background -> back:- blue:- balloon:-");
    EXPECT_EQ(MoveTo(m, 50, 2000), "ImgNULL(0) -> back:0 blue:0 balloon:-");
    EXPECT_EQ(MoveTo(m, 50, 1850), "ImgBack(0) -> back:0 blue:0 balloon:-");
    EXPECT_EQ(MoveTo(m, 50, 1700), "background -> back:- blue:- balloon:-");
}

TEST(Hover, BalloonsSwallowMoves_AndTitlesReachedDirectlyKeepOtherBalloons) {
    PanelModel m = LaidOutPanel();
    MoveTo(m, 50, 3500);
    EXPECT_EQ(MoveTo(m, 1000, 3700), "lblList(1) -> back:1 blue:1 balloon:1");
    EXPECT_EQ(MoveTo(m, 2000, 5200), "txtMainBottom(1) -> back:1 blue:1 balloon:1");
    EXPECT_EQ(MoveTo(m, 3600, 4500), "ImgContent(1) -> back:1 blue:1 balloon:1");
    // A pointer that jumps onto another title skips its hover area.
    EXPECT_EQ(MoveTo(m, 1000, 8200), "lblList(4) -> back:1 blue:1 balloon:14");
    // The badge has no handler either.
    EXPECT_EQ(MoveTo(m, 3100, 8450), "imgNew(4) -> back:1 blue:1 balloon:14");
    EXPECT_EQ(MoveTo(m, 20, 8000), "ImgNULL(4) -> back:4 blue:4 balloon:-");
}

TEST(Hover, MovesThatChangeNothingLeaveNoDamage) {
    PanelModel m = LaidOutPanel();
    RouteMouseMove(m, 2000, 500);
    EXPECT_FALSE(m.hasDamage());

    RouteMouseMove(m, 50, 5000);
    m.takeDamage();
    RouteMouseMove(m, 60, 5010);
    RouteMouseMove(m, 100, 6280);  // row 2's highlight: no handler
    EXPECT_FALSE(m.hasDamage());

    RouteMouseMove(m, 1000, 5200);
    m.takeDamage();
    RouteMouseMove(m, 1100, 5250);
    EXPECT_FALSE(m.hasDamage());
}

std::vector<TwipRect> RectsOf(const PanelModel& m, std::initializer_list<std::pair<N, int>> ids) {
    std::vector<TwipRect> rects;
    for (auto [name, index] : ids) rects.push_back(m.at(name, index).rect);
    return rects;
}

bool SameRects(std::vector<TwipRect> a, std::vector<TwipRect> b) {
    auto less = [](const TwipRect& l, const TwipRect& r) {
        return std::tie(l.left, l.top, l.width, l.height) <
               std::tie(r.left, r.top, r.width, r.height);
    };
    std::sort(a.begin(), a.end(), less);
    std::sort(b.begin(), b.end(), less);
    return a == b;
}

TEST(Hover, DamagesOnlyTheRectanglesThatChanged) {
    PanelModel m = LaidOutPanel();
    RouteMouseMove(m, 50, 3500);
    m.takeDamage();

    RouteMouseMove(m, 50, 5000);
    EXPECT_TRUE(SameRects(
        m.takeDamage(),
        RectsOf(m, {{N::ImgBack, 1}, {N::ImgBack, 2}, {N::imgArrow, 1}, {N::imgArrow, 2}})));

    const auto balloon2 =
        RectsOf(m, {{N::ImgContent, 2}, {N::txtMainTop, 2}, {N::txtMainBottom, 2}});
    RouteMouseMove(m, 1000, 5200);
    EXPECT_TRUE(SameRects(m.takeDamage(), balloon2));
    RouteMouseMove(m, 50, 5200);
    EXPECT_TRUE(SameRects(m.takeDamage(), balloon2));
}

TEST(ShowRows, FillsRowsFromTheTable_AndHidesBadgesOfEmptyRows) {
    PanelModel m = LaidOutPanel();
    RowTable table;
    table.RowTitle[1] = u"标题";
    table.RowStatusText[1] = u"已结束";
    table.RowTimeText[1] = u"回放";
    table.RowDetailText[1] = u"详情";
    table.RowShowNew[1] = -1;
    table.RowShowNew[3] = 1;  // any nonzero counts as True
    ShowRows(m, table);
    for (int i = 0; i < kPanelRows; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.at(N::lblList, i).caption, table.RowTitle[i]);
        EXPECT_EQ(m.at(N::lblReg, i).caption, table.RowStatusText[i]);
        EXPECT_EQ(m.at(N::lblTime, i).caption, table.RowTimeText[i]);
        EXPECT_EQ(m.at(N::txtMainBottom, i).caption, table.RowDetailText[i]);
        EXPECT_EQ(m.at(N::imgNew, i).visible, i == 1 || i == 3);
        EXPECT_EQ(m.at(N::txtMainTop, i).caption, kBalloonHeading);
    }

    ShowRows(m, RowTable{});
    for (int i = 0; i < kPanelRows; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.at(N::lblList, i).caption, u"");
        EXPECT_EQ(m.at(N::lblReg, i).caption, u"");
        EXPECT_EQ(m.at(N::lblTime, i).caption, u"");
        EXPECT_EQ(m.at(N::txtMainBottom, i).caption, u"");
        EXPECT_FALSE(m.at(N::imgNew, i).visible);
    }
    // An empty row still highlights and opens its balloon.
    EXPECT_EQ(MoveTo(m, 50, 6500), "ImgNULL(3) -> back:3 blue:3 balloon:-");
    EXPECT_EQ(MoveTo(m, 1000, 6700), "lblList(3) -> back:3 blue:3 balloon:3");
}

}  // namespace
}  // namespace talvane
