#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/panel/PanelTestSupport.h"

namespace talvane {
namespace {

using N = ElementName;
using testing::Describe;
using testing::LaidOutPanel;

TEST(PanelDesign, StacksEveryElementTopmostFirst_InTheDesignOrder) {
    const std::vector<std::string> expected = {
        "txtMainBottom(4)", "txtMainBottom(3)", "txtMainBottom(2)", "txtMainBottom(1)",
        "txtMainTop(4)",    "txtMainTop(3)",    "txtMainTop(2)",    "txtMainTop(1)",
        "txtMainBottom(0)", "txtMainTop(0)",    "ImgContent(4)",    "ImgContent(3)",
        "ImgContent(2)",    "ImgContent(1)",    "ImgContent(0)",    "imgNew(4)",
        "imgNew(3)",        "imgNew(2)",        "imgNew(1)",        "imgArrow(4)",
        "imgArrow(3)",      "imgArrow(2)",      "imgArrow(1)",      "lblTime(4)",
        "lblTime(3)",       "lblTime(2)",       "lblTime(1)",       "lblTime(0)",
        "lblReg(4)",        "lblReg(3)",        "lblReg(2)",        "lblReg(1)",
        "lblReg(0)",        "lblList(4)",       "lblList(3)",       "lblList(2)",
        "lblList(1)",       "lblList(0)",       "ImgNULL(4)",       "ImgNULL(3)",
        "ImgNULL(2)",       "ImgNULL(1)",       "ImgNULL(0)",       "imgNew(0)",
        "imgArrow(0)",      "ImgBack(4)",       "ImgBack(3)",       "ImgBack(2)",
        "ImgBack(1)",       "ImgBack(0)",       "Image1",           "lblBottom2",
        "lblBottom1",       "imgClose",         "imgMini",          "imgRed",
        "imgBlue"};
    std::vector<std::string> actual;
    const PanelModel m = CreatePanelDesign();
    for (const Element& e : m.elements()) {
        actual.push_back(Describe(&e));
    }
    EXPECT_EQ(actual, expected);
}

TEST(PanelDesign, CarriesTheSystemsTextsAndTheFooterShadowBeneathItsText) {
    const PanelModel m = CreatePanelDesign();
    const std::u16string footer = u"更多研讨会资料(999场),随时点播...";
    EXPECT_EQ(m.at(N::lblBottom2).caption, footer);
    EXPECT_EQ(m.at(N::lblBottom1).caption, footer);
    EXPECT_EQ(m.at(N::lblBottom2).textColour, ColourRole::White);
    EXPECT_EQ(m.at(N::lblBottom1).textColour, ColourRole::Black);
    EXPECT_EQ(m.at(N::lblBottom1).rect.top - m.at(N::lblBottom2).rect.top, 20);
    EXPECT_EQ(m.at(N::lblBottom2).pointer, PointerShape::Hand);
    EXPECT_EQ(m.at(N::lblBottom1).pointer, PointerShape::Arrow);

    for (int i = 0; i < kPanelRows; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.at(N::txtMainTop, i).caption, u"会议详细信息\uFF1A");
        EXPECT_TRUE(m.at(N::txtMainTop, i).opaque);
        EXPECT_EQ(m.at(N::txtMainBottom, i).caption, u"");
        EXPECT_EQ(m.at(N::lblTime, i).caption, u"时\u3000间\uFF1A2008-12-12(14:30-16:30)");
        EXPECT_EQ(m.at(N::txtMainBottom, i).font, i == 0 ? FontRole::Arial9 : FontRole::Default);
        EXPECT_EQ(m.at(N::ImgContent, i).picture,
                  i == 4 ? Picture::BalloonTipBottom : Picture::BalloonTipTop);
    }
}

struct RowPlace {
    N name;
    float left;
    float tops[5];
};

TEST(LayoutRows, PlacesEveryRowElement_WithTheLastBalloonAboveItsRow) {
    const PanelModel m = LaidOutPanel();
    const RowPlace table[] = {
        {N::ImgBack, 0, {1800, 3300, 4800, 6300, 7800}},
        {N::ImgNULL, 0, {1920, 3420, 4920, 6420, 7920}},
        {N::imgArrow, 130, {2100, 3600, 5100, 6600, 8100}},
        {N::lblList, 480, {2100, 3600, 5100, 6600, 8100}},
        {N::imgNew, 3000, {2400, 3900, 5400, 6900, 8400}},
        {N::lblReg, 480, {2680, 4180, 5680, 7180, 8680}},
        {N::lblTime, 480, {3000, 4500, 6000, 7500, 9000}},
        {N::ImgContent, 100, {2600, 4100, 5600, 7100, 5520}},
        {N::txtMainTop, 300, {2860, 4360, 5860, 7360, 5780}},
        {N::txtMainBottom, 300, {3220, 4720, 6220, 7720, 6140}},
    };
    for (const RowPlace& row : table) {
        for (int i = 0; i < kPanelRows; ++i) {
            SCOPED_TRACE(std::string(ElementNameText(row.name)) + " " + std::to_string(i));
            const TwipRect r = m.at(row.name, i).rect;
            const bool balloon4 =
                i == 4 && (row.name == N::ImgContent || row.name == N::txtMainTop ||
                           row.name == N::txtMainBottom);
            EXPECT_EQ(r.left, balloon4 ? row.left - 50 : row.left);
            EXPECT_EQ(r.top, row.tops[i]);
        }
    }
    // The last balloon ends above row 4's title; row 4's time line ends above the footer.
    EXPECT_EQ(m.at(N::ImgContent, 4).rect.bottom(), 7920);
    EXPECT_LT(m.at(N::ImgContent, 4).rect.bottom(), m.at(N::lblList, 4).rect.top);
    EXPECT_EQ(m.at(N::lblTime, 4).rect.bottom(), 9375);
    EXPECT_LT(m.at(N::lblTime, 4).rect.bottom(), m.at(N::lblBottom2).rect.top);
}

TEST(LayoutRows, HidesHighlightsAndBalloons_AndLeavesRowsShowingRedArrows) {
    const PanelModel m = LaidOutPanel();
    for (int i = 0; i < kPanelRows; ++i) {
        SCOPED_TRACE(i);
        for (N hidden : {N::ImgBack, N::ImgContent, N::txtMainTop, N::txtMainBottom}) {
            EXPECT_FALSE(m.at(hidden, i).visible) << ElementNameText(hidden);
        }
        for (N shown : {N::ImgNULL, N::imgArrow, N::lblList, N::lblReg, N::lblTime, N::imgNew}) {
            EXPECT_TRUE(m.at(shown, i).visible) << ElementNameText(shown);
        }
        EXPECT_EQ(m.at(N::imgArrow, i).picture, Picture::ArrowRed);
    }
}

}  // namespace
}  // namespace talvane
