#include "app/qt/PanelPalette.h"

#include <QPainter>
#include <algorithm>

#include "artwork/Artwork.h"

namespace talvane {

namespace {

bool pureOpposites(const QColor& back, const QColor& text) {
    const QRgb b = back.rgb() & 0xffffff;
    const QRgb t = text.rgb() & 0xffffff;
    return (b == 0 && t == 0xffffff) || (b == 0xffffff && t == 0);
}

}  // namespace

bool IsHighContrast(const QPalette& palette) {
    return pureOpposites(palette.color(QPalette::Window), palette.color(QPalette::WindowText)) &&
           pureOpposites(palette.color(QPalette::Base), palette.color(QPalette::Text));
}

QColor PaletteColour(const QPalette& palette, SystemColour colour) {
    switch (colour) {
        case SystemColour::Window:
            return palette.color(QPalette::Base);
        case SystemColour::WindowText:
            return palette.color(QPalette::Text);
        case SystemColour::Link:
            return palette.color(QPalette::Link);
        case SystemColour::Highlight:
            return palette.color(QPalette::Highlight);
    }
    return palette.color(QPalette::Text);
}

QColor LabelTextColour(const QPalette& palette, bool highContrast, const Element& label) {
    if (highContrast) {
        return PaletteColour(palette, PlainTextColour(label).value_or(SystemColour::Window));
    }
    return LabelFillColour(palette, false, label.textColour);
}

QColor LabelFillColour(const QPalette& palette, bool highContrast, ColourRole role) {
    if (highContrast) return palette.color(QPalette::Base);
    switch (role) {
        case ColourRole::ButtonText:
            return palette.color(QPalette::ButtonText);
        case ColourRole::WindowText:
            return palette.color(QPalette::Text);
        case ColourRole::WindowBackground:
            return palette.color(QPalette::Base);
        case ColourRole::White:
            return QColor::fromRgb(artwork::FooterText);
        case ColourRole::Black:
            return Qt::black;
    }
    return palette.color(QPalette::Text);
}

void DrawPlainImage(QPainter& painter, const QPalette& palette, const Element& image,
                    const QRectF& box, const QFont& font) {
    const PlainPart part = PlainStandIn(image);
    const QColor colour = PaletteColour(palette, part.colour);
    painter.save();
    switch (part.kind) {
        case PlainPart::Kind::None:
            break;
        case PlainPart::Kind::Badge: {
            painter.setPen(QPen(colour, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
            QFont small = font;
            small.setPixelSize(std::max(6, static_cast<int>(box.height()) - 3));
            small.setBold(true);
            painter.setFont(small);
            painter.drawText(box, Qt::AlignCenter, QString::fromStdU16String(part.text));
            break;
        }
        case PlainPart::Kind::Box:
            painter.fillRect(box, palette.color(QPalette::Base));
            [[fallthrough]];
        case PlainPart::Kind::Frame:
            // Two pixels: a highlight must be seen at a glance.
            painter.setPen(QPen(colour, part.kind == PlainPart::Kind::Frame ? 2 : 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box.adjusted(1, 1, -1, -1));
            [[fallthrough]];
        case PlainPart::Kind::Text:
            if (!part.text.empty()) {
                painter.setFont(font);
                painter.setPen(colour);
                painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                 QString::fromStdU16String(part.text));
            }
            break;
    }
    painter.restore();
}

}  // namespace talvane
