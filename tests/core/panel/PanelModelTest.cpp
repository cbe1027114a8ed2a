#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "app/RowDisplay.h"
#include "tests/core/panel/PanelTestSupport.h"

namespace talvane {
namespace {

using N = ElementName;
using testing::LaidOutPanel;

TEST(PanelModel, RejectsElementsThatDoNotExist_BeforeChangingAnything) {
    PanelModel m = LaidOutPanel();
    EXPECT_THROW(m.at(N::lblList, 5), std::out_of_range);
    EXPECT_THROW(m.at(N::lblList, -1), std::out_of_range);
    EXPECT_THROW(m.at(N::Image1, 0), std::out_of_range);
    EXPECT_THROW(m.setVisible(N::ImgBack, 5, true), std::out_of_range);
    EXPECT_THROW(ImgNULL_MouseMove(m, 5), std::out_of_range);
    EXPECT_THROW(lblList_MouseMove(m, -1), std::out_of_range);
    EXPECT_FALSE(m.hasDamage());

    Element twin;
    twin.id = {N::lblList, 2};
    EXPECT_THROW(PanelModel({twin, twin}), std::invalid_argument);
    twin.id = {N::lblList, 7};
    EXPECT_THROW(PanelModel({twin}), std::invalid_argument);
}

TEST(PanelModel, RecordsDamageOnlyForChangesThatShow_WithoutDuplicates) {
    PanelModel m = LaidOutPanel();
    const TwipRect body = m.at(N::txtMainBottom, 2).rect;

    m.setCaption(N::txtMainBottom, 2, u"hidden text");  // hidden: nothing to repaint
    m.setPicture(N::ImgContent, 2, Picture::BalloonTipBottom);
    EXPECT_FALSE(m.hasDamage());
    EXPECT_EQ(m.at(N::txtMainBottom, 2).caption, u"hidden text");

    m.setVisible(N::txtMainBottom, 2, true);
    m.setCaption(N::txtMainBottom, 2, u"shown text");
    m.setVisible(N::txtMainBottom, 2, true);
    EXPECT_EQ(m.takeDamage(), std::vector<TwipRect>{body});
    EXPECT_FALSE(m.hasDamage());

    m.setPosition(N::txtMainBottom, 2, body.left, body.top);
    EXPECT_FALSE(m.hasDamage());
    m.setPosition(N::txtMainBottom, 2, body.left + 15, body.top);
    const TwipRect moved{body.left + 15, body.top, body.width, body.height};
    EXPECT_EQ(m.takeDamage(), (std::vector<TwipRect>{body, moved}));
    EXPECT_EQ(m.hitTest(body.left + 15 + body.width - 1, body.top)->id,
              (ElementId{N::txtMainBottom, 2}));
}

}  // namespace
}  // namespace talvane
