#include <gtest/gtest.h>

#include <algorithm>
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

TEST(PanelModel, PaintOrder_DrawsWhatTheDirtyAreaReaches_TopmostLast) {
    PanelModel m = LaidOutPanel();
    lblList_MouseMove(m, 0);  // highlight, blue arrow and balloon of row 0 on top of the rows
    m.setVisible(N::imgNew, 0, true);
    m.setVisible(N::imgNew, 2, true);
    const TwipRect whole{0, 0, 3750, 9900};
    const std::vector<const Element*> all = m.paintOrder(whole);
    // Wherever the pointer could be, the element drawn last over it is the
    // one that takes the pointer there: the two faces stack as they route.
    for (float y = 5; y < whole.height; y += 45) {
        for (float x = 5; x < whole.width; x += 60) {
            const Element* last = nullptr;
            for (const Element* e : all) {
                if (e->rect.contains(x, y)) last = e;
            }
            ASSERT_EQ(last, m.hitTest(x, y)) << x << "," << y;
        }
    }
    for (const Element* e : all) EXPECT_TRUE(e->visible) << testing::Describe(e);

    // A dirty area draws only what reaches into it; an element that only
    // touches its edge stays as it is.
    const TwipRect title = m.at(N::lblList, 0).rect;
    const std::vector<const Element*> some = m.paintOrder(title);
    EXPECT_LT(some.size(), all.size());
    for (const Element& e : m.elements()) {
        const bool drawn = std::find(some.begin(), some.end(), &e) != some.end();
        EXPECT_EQ(drawn, e.visible && e.rect.intersects(title)) << testing::Describe(&e);
    }
    const TwipRect below{title.left, title.bottom(), title.width, 15};
    EXPECT_FALSE(below.intersects(title));
    EXPECT_TRUE(m.paintOrder({0, 0, 0, 0}).empty());
}

}  // namespace
}  // namespace talvane
