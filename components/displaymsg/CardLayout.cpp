#include "components/displaymsg/CardLayout.h"
#include "components/displaymsg/CardLook.h"

#include <QFontMetrics>

#include "components/displaymsg/TextWrap.h"

namespace talvane::displaymsg {

namespace {

constexpr int kRadius = look::kRadius;
constexpr int kHeaderHeight = look::kHeaderHeight;
constexpr int kPadding = look::kPadding;
constexpr int kProgressHeight = look::kProgressHeight;
constexpr int kBodyLeading = look::kBodyLeading;
constexpr int kCloseTargetWidth = 40;

QFont cardFont(int pixelSize, bool bold) {
    QFont font;
    // Qt's font cache outlives this library, which is unloaded once its last
    // card has closed: family names made at run time, never literals kept
    // in the library's own memory, or the next card's lookup reads freed
    // pages.
    font.setFamilies(
        {QString::fromLatin1("Liberation Sans"), QString::fromLatin1("Noto Sans CJK SC")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// block's lines from the top y; returns the y below the last one.
int place(TextBlock& block, const QFont& font, int y) {
    block.topLeft = QPoint(kPadding, y);
    return y + block.lines.size() * (QFontMetrics(font).lineSpacing() + block.leading);
}

}  // namespace

CardFonts::CardFonts()
    : heading(cardFont(13, true)),
      title(cardFont(16, true)),
      text(cardFont(13, false)),
      small(cardFont(12, false)) {}

CardLayout layOutCard(const AlertContent& content, const CardFonts& fonts, int width) {
    const int contentWidth = width - 2 * kPadding;
    CardLayout card;
    card.radius = kRadius;
    card.header = QRect(0, 0, width, kHeaderHeight);
    card.bellCentre = QPointF(kPadding + 7, kHeaderHeight / 2.0);
    card.closeCentre = QPointF(width - kPadding - 4, kHeaderHeight / 2.0);
    card.closeTarget = QRect(width - kCloseTargetWidth, 0, kCloseTargetWidth, kHeaderHeight);

    const QFontMetrics headingMetrics(fonts.heading);
    const int headingX = kPadding + 22;
    card.heading = headingMetrics.elidedText(content.heading, Qt::ElideRight,
                                             int(card.closeCentre.x()) - 12 - headingX);
    card.headingBaseline =
        QPoint(headingX, (kHeaderHeight - headingMetrics.height()) / 2 + headingMetrics.ascent());

    int y = kHeaderHeight + 14;
    card.title.lines = wrapText(content.title, fonts.title, contentWidth, 2);
    y = place(card.title, fonts.title, y);

    if (!content.time.isEmpty()) {
        y += 6;
        const QFontMetrics metrics(fonts.text);
        card.timeLabel = QStringLiteral("时间：");
        card.timeLabelBaseline = QPoint(kPadding, y + metrics.ascent());
        const int valueX = kPadding + metrics.horizontalAdvance(card.timeLabel);
        card.time =
            metrics.elidedText(content.time, Qt::ElideRight, kPadding + contentWidth - valueX);
        card.timeBaseline = QPoint(valueX, y + metrics.ascent());
        y += metrics.lineSpacing();
    }

    card.body.lines = wrapText(content.note, fonts.text, contentWidth, 3);
    card.body.leading = kBodyLeading;
    if (!card.body.lines.isEmpty()) y = place(card.body, fonts.text, y + 6);

    if (!content.link.isEmpty()) {
        y += 10;
        card.rule = QRect(kPadding, y, contentWidth, 1);
        y += 1 + 8;
        card.footer.lines = QStringList{QStringLiteral("点击查看详情 ›")};
        y = place(card.footer, fonts.small, y);
    }

    // The card's height counts the note's lines without their leading: the
    // bottom margin takes it up, which keeps short cards compact.
    card.size = QSize(width, y + 14 - card.body.lines.size() * kBodyLeading);
    card.progress = QRect(0, card.size.height() - kProgressHeight, width, kProgressHeight);
    return card;
}

}  // namespace talvane::displaymsg
