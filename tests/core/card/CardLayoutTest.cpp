#include "card/CardLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "card/CardPress.h"
#include "tests/core/card/FixedCardMeasure.h"

namespace talvane::card {
namespace {

const testing::FixedCardMeasure kMeasure;

CardTexts fullCard() {
    return {u"研讨会即将开始", u"2026-12-09 10:00", u"季度产品发布会", u"请提前五分钟进入会场",
            true};
}

TEST(layOutCard, PlacesEachPart_AndCountsTheNoteWithoutItsLeading) {
    const CardLayout card = layOutCard(fullCard(), kMeasure);
    EXPECT_EQ(card.width, 320);
    EXPECT_EQ(card.header, (CardBox{0, 0, 320, 36}));
    EXPECT_EQ(card.title.topLeft, (Point{16, 50}));
    EXPECT_EQ(card.title.lines, std::vector<std::u16string>{u"季度产品发布会"});
    EXPECT_EQ(card.timeLabel.topLeft, (Point{16, 76}));
    EXPECT_EQ(card.time.topLeft, (Point{16 + 3 * 14, 76}));
    EXPECT_EQ(card.body.topLeft, (Point{16, 99}));
    EXPECT_EQ(card.body.step, 20);
    EXPECT_EQ(card.rule, (CardBox{16, 129, 288, 1}));
    EXPECT_EQ(card.footer.topLeft, (Point{16, 138}));
    // 138 + 15 for the footer + 14 margin, less the note's one leading of 3.
    EXPECT_EQ(card.height, 164);
    EXPECT_EQ(card.progress, (CardBox{0, 161, 320, 3}));

    CardTexts bare = fullCard();
    bare.note = u"";
    EXPECT_EQ(layOutCard(bare, kMeasure).height, card.height - 6 - 17);
    bare.time = u"";
    bare.hasLink = false;
    const CardLayout titleOnly = layOutCard(bare, kMeasure);
    EXPECT_EQ(titleOnly.height, 36 + 14 + 20 + 14);
    EXPECT_TRUE(titleOnly.footer.lines.empty());
    EXPECT_EQ(titleOnly.rule, CardBox{});
}

TEST(layOutCard, WrapsTitleAndNote_ElidesHeadingAndTime_AndScalesWithTheDpi) {
    CardTexts texts = fullCard();
    const std::u16string longTitle(60, u'题');
    const std::u16string longNote(200, u'注');
    const std::u16string longTime(60, u'9');
    texts.title = longTitle;
    texts.note = longNote;
    texts.time = longTime;
    texts.heading = longTitle;
    const CardLayout card = layOutCard(texts, kMeasure);
    ASSERT_EQ(card.title.lines.size(), 2u);
    EXPECT_EQ(card.title.lines[0], std::u16string(20, u'题'));  // 288 px hold 20 wide
    EXPECT_EQ(card.title.lines[1].back(), u'…');
    ASSERT_EQ(card.body.lines.size(), 3u);
    EXPECT_EQ(card.body.lines[2].back(), u'…');
    EXPECT_EQ(card.time.text.back(), u'…');
    EXPECT_LE(kMeasure.width(CardFont::Text, card.time.text), 304 - card.time.topLeft.x);
    EXPECT_EQ(card.heading.text.back(), u'…');
    EXPECT_LE(card.heading.topLeft.x + kMeasure.width(CardFont::Heading, card.heading.text),
              card.closeCentre.x - 12);

    const CardLayout large = layOutCard(fullCard(), kMeasure, 144);
    EXPECT_EQ(large.width, 480);
    EXPECT_EQ(large.header.height, 54);
    EXPECT_EQ(large.closeTarget, (CardBox{420, 0, 60, 54}));
    EXPECT_EQ(large.progress.height, 5);
}

TEST(layOutCard, CutsEachTextAt256Units_AsThePanelDoes) {
    // A text of megabytes is cut before any of it is measured.
    class CountingMeasure : public testing::FixedCardMeasure {
      public:
        int width(CardFont font, std::u16string_view text) const override {
            longest = std::max(longest, text.size());
            return FixedCardMeasure::width(font, text);
        }
        mutable std::size_t longest = 0;
    } measure;
    const std::u16string huge(1 << 20, u'a');
    const CardLayout card = layOutCard({huge, huge, huge, huge, false}, measure);
    EXPECT_LE(measure.longest, 256u + 1u);  // and the ellipsis
    EXPECT_EQ(card.body.lines.size(), 3u);
}

// The Qt card and the Windows card once disagreed here: (283, 18) of a
// 320-px card hit the Linux close corner but lay outside the Windows cross.
TEST(CardPress, TheCloseCornerOnlyCloses_AndOnlyAClickBegunOnTheCardCounts) {
    const CardLayout card = layOutCard(fullCard(), kMeasure);
    struct Case {
        const char* what;
        CardButton button;
        Point pressAt;
        Point releaseAt;
        bool hasLink;
        CardClick expected;
    };
    const Point outside{-5, 40};
    const Case cases[] = {
        {"the body opens the link",
         CardButton::Primary,
         {100, 100},
         {100, 100},
         true,
         CardClick::OpenAndClose},
        {"near the cross only closes",
         CardButton::Primary,
         {283, 18},
         {283, 18},
         true,
         CardClick::Close},
        {"the corner's edge only closes",
         CardButton::Primary,
         {280, 0},
         {319, 35},
         true,
         CardClick::Close},
        {"just left of the corner opens",
         CardButton::Primary,
         {279, 18},
         {279, 18},
         true,
         CardClick::OpenAndClose},
        {"just below the corner opens",
         CardButton::Primary,
         {300, 36},
         {300, 36},
         true,
         CardClick::OpenAndClose},
        {"no link: closes", CardButton::Primary, {100, 100}, {100, 100}, false, CardClick::Close},
        {"another button closes",
         CardButton::Other,
         {100, 100},
         {100, 100},
         true,
         CardClick::Close},
        {"a release off the card",
         CardButton::Primary,
         {100, 100},
         outside,
         true,
         CardClick::Nothing},
        {"a press begun elsewhere",
         CardButton::Primary,
         outside,
         {100, 100},
         true,
         CardClick::Nothing},
    };
    for (const Case& c : cases) {
        CardPress press;
        press.press(c.button, c.pressAt, card);
        EXPECT_EQ(press.release(c.button, c.releaseAt, card, c.hasLink), c.expected) << c.what;
    }

    CardPress press;
    EXPECT_EQ(press.release(CardButton::Primary, {100, 100}, card, true), CardClick::Nothing)
        << "a release without a press";
    press.press(CardButton::Other, {100, 100}, card);
    EXPECT_EQ(press.release(CardButton::Primary, {100, 100}, card, true), CardClick::Nothing)
        << "the other button's press";
    press.press(CardButton::Primary, {100, 100}, card);
    press.release(CardButton::Primary, {100, 100}, card, true);
    EXPECT_EQ(press.release(CardButton::Primary, {100, 100}, card, true), CardClick::Nothing)
        << "a press counts once";
    press.press(CardButton::Primary, {100, 100}, card);
    press.lose();
    EXPECT_EQ(press.release(CardButton::Primary, {100, 100}, card, true), CardClick::Nothing)
        << "a press lost to another window";
}

}  // namespace
}  // namespace talvane::card
