#include "components/displaymsg/CardFonts.h"

#include <QFontMetrics>
#include <QStringList>

#include "support/qt/FontTextMeasure.h"

namespace talvane::displaymsg {

namespace {

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

}  // namespace

CardFonts::CardFonts()
    : heading_(cardFont(13, true)),
      title_(cardFont(16, true)),
      text_(cardFont(13, false)),
      small_(cardFont(12, false)) {}

const QFont& CardFonts::font(card::CardFont role) const {
    switch (role) {
        case card::CardFont::Heading:
            return heading_;
        case card::CardFont::Title:
            return title_;
        case card::CardFont::Text:
            return text_;
        case card::CardFont::Small:
            break;
    }
    return small_;
}

int CardFonts::width(card::CardFont role, std::u16string_view text) const {
    return FontTextMeasure(font(role)).width(text);
}

card::FontMetrics CardFonts::metrics(card::CardFont role) const {
    const QFontMetrics metrics(font(role));
    return {metrics.ascent(), metrics.height(), metrics.lineSpacing()};
}

}  // namespace talvane::displaymsg
