#include "card/CardLayout.h"

#include "card/CardLook.h"
#include "text/LineBreak.h"

namespace talvane::card {

namespace {

using namespace look;

constexpr int kCloseTargetWidth = 40;
constexpr std::u16string_view kTimeLabel = u"时间：";
constexpr std::u16string_view kFooter = u"点击查看详情 \u203a";

}  // namespace

std::u16string_view shownText(std::u16string_view text) {
    return text::leadingUnits(text, kLongestShownText);
}

CardLayout layOutCard(const CardTexts& texts, const CardMeasure& measure, int dpi) {
    const auto px = [dpi](int pixels) { return (pixels * dpi + 48) / 96; };
    const FontMetrics title = measure.metrics(CardFont::Title);
    const FontMetrics text = measure.metrics(CardFont::Text);
    const FontMetrics small = measure.metrics(CardFont::Small);
    const FontMetrics heading = measure.metrics(CardFont::Heading);

    CardLayout card;
    card.width = px(kWidth);
    card.radius = px(kRadius);
    const int padding = px(kPadding);
    const int contentWidth = card.width - 2 * padding;
    const int headerHeight = px(kHeaderHeight);
    card.header = {0, 0, card.width, headerHeight};
    card.bellCentre = {padding + px(7), headerHeight / 2};
    card.closeCentre = {card.width - padding - px(4), headerHeight / 2};
    card.closeArm = px(4);
    card.closeTarget = {card.width - px(kCloseTargetWidth), 0, px(kCloseTargetWidth), headerHeight};

    const int headingX = padding + px(22);
    card.heading.text =
        text::elide(shownText(texts.heading), FontMeasure(measure, CardFont::Heading),
                    card.closeCentre.x - px(12) - headingX);
    card.heading.topLeft = {headingX, (headerHeight - heading.height) / 2};

    int y = headerHeight + px(14);
    card.title.lines = text::breakLines(shownText(texts.title),
                                        FontMeasure(measure, CardFont::Title), contentWidth, 2);
    card.title.topLeft = {padding, y};
    card.title.step = title.lineSpacing;
    y += int(card.title.lines.size()) * card.title.step;

    if (!texts.time.empty()) {
        y += px(6);
        card.timeLabel = {std::u16string(kTimeLabel), {padding, y}};
        const int valueX = padding + measure.width(CardFont::Text, kTimeLabel);
        card.time = {text::elide(shownText(texts.time), FontMeasure(measure, CardFont::Text),
                                 padding + contentWidth - valueX),
                     {valueX, y}};
        y += text.lineSpacing;
    }

    const int leading = px(kBodyLeading);
    card.body.lines = text::breakLines(shownText(texts.note), FontMeasure(measure, CardFont::Text),
                                       contentWidth, 3);
    card.body.step = text.lineSpacing + leading;
    if (!card.body.lines.empty()) {
        y += px(6);
        card.body.topLeft = {padding, y};
        y += int(card.body.lines.size()) * card.body.step;
    }

    if (texts.hasLink) {
        y += px(10);
        card.rule = {padding, y, contentWidth, 1};
        y += 1 + px(8);
        card.footer = {{std::u16string(kFooter)}, {padding, y}, small.lineSpacing};
        y += small.lineSpacing;
    }

    // The card's height counts the note's lines without their leading: the
    // bottom margin takes it up, which keeps short cards compact.
    card.height = y + px(14) - int(card.body.lines.size()) * leading;
    card.progress = {0, card.height - px(kProgressHeight), card.width, px(kProgressHeight)};
    return card;
}

}  // namespace talvane::card
