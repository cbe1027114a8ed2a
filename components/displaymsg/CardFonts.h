#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include "card/CardLayout.h"
#include "card/CardMeasure.h"

namespace talvane::displaymsg {

// The card's faces: Latin in Liberation Sans, Chinese in the Simplified
// Chinese face (the fallback would otherwise pick Japanese glyph forms).
// Needs a QGuiApplication.
class CardFonts : public card::CardMeasure {
  public:
    CardFonts();
    const QFont& font(card::CardFont role) const;
    int width(card::CardFont role, std::u16string_view text) const override;
    card::FontMetrics metrics(card::CardFont role) const override;

  private:
    QFont heading_;
    QFont title_;
    QFont text_;
    QFont small_;
};

// The shared layout's types in Qt's.
inline QRect toQRect(const card::CardBox& box) {
    return {box.left, box.top, box.width, box.height};
}
inline QPoint toQPoint(card::Point point) { return {point.x, point.y}; }
inline QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}
// The part of a text that the card shows (see card::shownText).
inline QString shownQString(const QString& text) {
    return toQString(card::shownText(
        {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())}));
}

}  // namespace talvane::displaymsg
