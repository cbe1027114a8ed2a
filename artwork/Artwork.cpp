#include "artwork/Artwork.h"

#include <QFont>
#include <QGuiApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>
#include <QStringList>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "app/AccessibleElements.h"

namespace talvane::artwork {
namespace {

// One palette for every picture: deep teal chrome, white rows, a warm accent.
constexpr QRgb ChromeTop = qRgb(0x12, 0x5b, 0x70);
constexpr QRgb ChromeBottom = qRgb(0x0b, 0x3d, 0x4b);
constexpr QRgb ChromeEdge = PanelBackdrop;
constexpr QRgb ChromeLine = qRgb(0x2a, 0x86, 0x9c);
constexpr QRgb ChromeMuted = qRgb(0xa4, 0xd4, 0xdf);
constexpr QRgb IconTop = qRgb(0x24, 0x93, 0xad);
constexpr QRgb BannerTop = qRgb(0x1f, 0x86, 0x9e);
constexpr QRgb BannerBottom = qRgb(0x16, 0x6c, 0x82);
constexpr QRgb Accent = qRgb(0xf3, 0xb3, 0x41);
constexpr QRgb AccentDeep = qRgb(0xe0, 0x93, 0x1f);
constexpr QRgb RowFill = qRgb(0xff, 0xff, 0xff);
constexpr QRgb RowSeparator = qRgb(0xe3, 0xea, 0xee);
constexpr QRgb RowEdge = qRgb(0xb4, 0xc3, 0xcb);
constexpr QRgb HoverTint = qRgb(0xe9, 0xf4, 0xf8);
constexpr QRgb HoverTintLight = qRgb(0xf2, 0xf8, 0xfb);
constexpr QRgb HoverLine = qRgb(0xcf, 0xe3, 0xeb);
constexpr QRgb Red = qRgb(0xe0, 0x4f, 0x43);
constexpr QRgb RedDeep = qRgb(0xc4, 0x3a, 0x2f);
constexpr QRgb Blue = qRgb(0x2d, 0x7f, 0xd8);
constexpr QRgb BlueDeep = qRgb(0x1d, 0x63, 0xb5);
constexpr QRgb BalloonEdge = qRgb(0xae, 0xbf, 0xc9);
constexpr QRgb ShadowTone = qRgb(0x0b, 0x3d, 0x4b);

// Panel geometry in logical pixels.
constexpr qreal HeaderBottom = 120;
constexpr qreal RowHeight = 100;
constexpr int RowCount = 5;
constexpr qreal FooterTop = HeaderBottom + RowHeight * RowCount;
constexpr qreal CornerRadius = 6;
const QRectF BannerRect(8, 56, 233, 49);
const QRectF MinimiseArea(176, 0, 25, 17);
const QRectF CloseArea(200, 0, 41, 17);

QColor withAlpha(QRgb rgb, qreal alpha) {
    QColor c = QColor::fromRgb(rgb);
    c.setAlphaF(static_cast<float>(alpha));
    return c;
}

// A transparent pixmap of the given logical size at the given density.
QPixmap canvas(QSize logical, qreal dpr) {
    const QSize device(static_cast<int>(std::ceil(logical.width() * dpr)),
                       static_cast<int>(std::ceil(logical.height() * dpr)));
    QPixmap pixmap(device);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void beginSmooth(QPainter& p) {
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
}

// Lines one device pixel wide land on whole device pixels when their
// centre is offset by half a device pixel.
qreal halfDevicePixel(qreal dpr) { return 0.5 / dpr; }

// A length rounded to whole device pixels, at least one.
qreal snapped(qreal logical, qreal dpr) { return std::max(1.0, std::round(logical * dpr)) / dpr; }

QFont uiFont(qreal pixelSize, QFont::Weight weight) {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial")});
    font.setPixelSize(static_cast<int>(std::round(pixelSize)));
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QLinearGradient chromeGradient(qreal top, qreal bottom) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, QColor::fromRgb(ChromeTop));
    g.setColorAt(1, QColor::fromRgb(ChromeBottom));
    return g;
}

// --- the mark shared by the icon and the header -----------------------------

// A rounded tile with a play triangle and a small notification dot. In the
// header the tile is white on the teal chrome; as an icon it is teal. The
// triangle's edges are snapped to whole pixels so that it stays sharp at the
// smallest tray sizes.
void drawMark(QPainter& p, const QRectF& r, bool onChrome, bool withDot) {
    const qreal s = r.width();
    const qreal radius = s * 0.24;
    QPainterPath tile;
    tile.addRoundedRect(r, radius, radius);
    if (onChrome) {
        p.fillPath(tile, QColor::fromRgb(0xff, 0xff, 0xff));
    } else {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor::fromRgb(IconTop));
        g.setColorAt(1, QColor::fromRgb(ChromeTop));
        p.fillPath(tile, g);
        // A faint light rim keeps the tile apart from dark trays.
        const qreal rim = s >= 32 ? 1.0 : 0.75;
        QPainterPath inner;
        inner.addRoundedRect(r.adjusted(rim / 2, rim / 2, -rim / 2, -rim / 2), radius - rim / 2,
                             radius - rim / 2);
        p.strokePath(inner, QPen(withAlpha(0xffffffff, 0.22), rim));
    }

    // The triangle sits slightly right of centre so that it looks centred.
    const qreal cx = r.left() + s * 0.53;
    const qreal cy = r.top() + s * 0.5;
    const qreal h = s * 0.46;
    const qreal w = h * 0.9;
    const qreal left = std::round(cx - w * 0.45);
    const qreal top = std::round(cy - h / 2);
    const qreal bottom = std::round(cy + h / 2);
    const qreal apex = std::round(cx + w * 0.55);
    QPainterPath play;
    play.moveTo(left, top);
    play.lineTo(apex, (top + bottom) / 2);
    play.lineTo(left, bottom);
    play.closeSubpath();
    p.fillPath(play, onChrome ? QColor::fromRgb(ChromeTop) : QColor::fromRgb(0xff, 0xff, 0xff));

    if (withDot) {
        const qreal d = s * 0.34;
        const QRectF dot(r.right() - d * 0.8, r.top() - d * 0.2, d, d);
        p.setPen(QPen(onChrome ? QColor::fromRgb(ChromeTop) : QColor::fromRgb(0xff, 0xff, 0xff),
                      std::max(1.0, s * 0.06)));
        p.setBrush(QColor::fromRgb(Accent));
        p.drawEllipse(dot);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::NoBrush);
    }
}

// --- background pieces ------------------------------------------------------

QPainterPath panelOutline() {
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(BackgroundSize)), CornerRadius, CornerRadius);
    return path;
}

void drawHeader(QPainter& p) {
    p.fillRect(QRectF(0, 0, BackgroundSize.width(), HeaderBottom), chromeGradient(0, HeaderBottom));

    // Two faint rings give the header some depth without drawing attention.
    p.setPen(QPen(withAlpha(0xffffffff, 0.06), 14));
    p.drawEllipse(QPointF(236, -6), 78, 78);
    p.setPen(QPen(withAlpha(0xffffffff, 0.035), 10));
    p.drawEllipse(QPointF(250, 120), 52, 52);
    p.setPen(Qt::NoPen);

    p.fillRect(QRectF(0, HeaderBottom - 1, BackgroundSize.width(), 1), QColor::fromRgb(ChromeEdge));
}

void drawWordmark(QPainter& p) {
    drawMark(p, QRectF(13, 14, 26, 26), true, false);

    p.setPen(QColor::fromRgb(0xff, 0xff, 0xff));
    QFont word = uiFont(22, QFont::Bold);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 0.3);
    p.setFont(word);
    p.drawText(QPointF(47, 33), QStringLiteral("Talvane"));

    p.setPen(QColor::fromRgb(ChromeMuted));
    p.setFont(uiFont(10, QFont::Normal));
    p.drawText(QPointF(48, 47), QStringLiteral(u"网络研讨会 · 桌面提醒"));
}

void drawCaptionButtons(QPainter& p, qreal dpr) {
    // A tab hanging from the top edge, like a caption bar's buttons.
    const QRectF tab = MinimiseArea.united(CloseArea);
    QPainterPath shape;
    shape.moveTo(tab.topLeft());
    shape.lineTo(tab.topRight());
    shape.lineTo(tab.right(), tab.bottom() - 5);
    shape.quadTo(tab.right(), tab.bottom(), tab.right() - 5, tab.bottom());
    shape.lineTo(tab.left() + 5, tab.bottom());
    shape.quadTo(tab.left(), tab.bottom(), tab.left(), tab.bottom() - 5);
    shape.closeSubpath();
    p.fillPath(shape, withAlpha(0xff000000, 0.18));

    const qreal hair = 1.0 / dpr;
    p.fillRect(QRectF(CloseArea.left() + 0.5, 3, hair, tab.height() - 6),
               withAlpha(0xffffffff, 0.18));

    const QColor glyph = withAlpha(0xffffffff, 0.92);
    // Minimise: a short bar, snapped to whole device pixels so it stays sharp.
    const qreal barHeight = snapped(1.4, dpr);
    const qreal barY = std::round(10 * dpr) / dpr;
    p.fillRect(QRectF(MinimiseArea.center().x() - 4, barY, 8, barHeight), glyph);

    // Close: a cross.
    const QPointF c = CloseArea.center();
    const qreal arm = 3.5;
    p.setPen(QPen(glyph, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - arm, c.y() - arm), QPointF(c.x() + arm, c.y() + arm));
    p.drawLine(QPointF(c.x() - arm, c.y() + arm), QPointF(c.x() + arm, c.y() - arm));
    p.setPen(Qt::NoPen);
}

// An open ">" pointing at tip, halfHeight above and below it and depth to
// its left.
void drawChevron(QPainter& p, QPointF tip, qreal halfHeight, qreal depth, const QColor& colour,
                 qreal width) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(tip.x() - depth, tip.y() - halfHeight);
    path.lineTo(tip);
    path.lineTo(tip.x() - depth, tip.y() + halfHeight);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
}

void drawBanner(QPainter& p) {
    const QRectF r = BannerRect.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath card;
    card.addRoundedRect(r, 8, 8);

    // A soft drop under the card lifts it off the header like a button.
    QPainterPath drop;
    drop.addRoundedRect(r.translated(0, 1.5), 8, 8);
    p.fillPath(drop, withAlpha(0xff000000, 0.18));

    QLinearGradient fill(0, r.top(), 0, r.bottom());
    fill.setColorAt(0, QColor::fromRgb(BannerTop));
    fill.setColorAt(1, QColor::fromRgb(BannerBottom));
    p.fillPath(card, fill);
    p.strokePath(card, QPen(withAlpha(0xffffffff, 0.22), 1));

    // Play disc in the accent colour.
    const QPointF disc(r.left() + 22, r.center().y());
    QRadialGradient discFill(disc + QPointF(-3, -4), 16);
    discFill.setColorAt(0, QColor::fromRgb(0xf8, 0xc8, 0x68));
    discFill.setColorAt(1, QColor::fromRgb(AccentDeep));
    p.setBrush(discFill);
    p.drawEllipse(disc, 13, 13);
    p.setBrush(Qt::NoBrush);
    QPainterPath play;
    play.moveTo(disc.x() - 3.5, disc.y() - 6);
    play.lineTo(disc.x() + 6, disc.y());
    play.lineTo(disc.x() - 3.5, disc.y() + 6);
    play.closeSubpath();
    p.fillPath(play, QColor::fromRgb(0xff, 0xff, 0xff));

    p.setPen(QColor::fromRgb(0xff, 0xff, 0xff));
    p.setFont(uiFont(13, QFont::Bold));
    p.drawText(QPointF(r.left() + 43, r.top() + 21), QString::fromStdU16String(kBannerName));
    p.setPen(QColor::fromRgb(ChromeMuted));
    p.setFont(uiFont(10, QFont::Normal));
    p.drawText(QPointF(r.left() + 43, r.top() + 38),
               QStringLiteral(u"在线直播 · 精彩回放 · 资料下载"));

    drawChevron(p, QPointF(r.right() - 9, r.center().y()), 4.5, 2.5, withAlpha(0xffffffff, 0.8),
                1.6);
}

void drawRowBands(QPainter& p, qreal dpr) {
    p.fillRect(QRectF(0, HeaderBottom, BackgroundSize.width(), RowHeight * RowCount),
               QColor::fromRgb(RowFill));
    const qreal hair = 1.0 / dpr;
    for (int i = 1; i < RowCount; ++i) {
        const qreal y = HeaderBottom + RowHeight * i - hair;
        p.fillRect(QRectF(12, y, BackgroundSize.width() - 24, hair), QColor::fromRgb(RowSeparator));
    }
}

void drawFooter(QPainter& p) {
    p.fillRect(QRectF(0, FooterTop, BackgroundSize.width(), BackgroundSize.height() - FooterTop),
               chromeGradient(FooterTop, BackgroundSize.height()));
    p.fillRect(QRectF(0, FooterTop, BackgroundSize.width(), 1), QColor::fromRgb(ChromeEdge));
    p.fillRect(QRectF(0, FooterTop + 1, BackgroundSize.width(), 1), QColor::fromRgb(ChromeLine));
}

// The edge is darker than whatever it runs along: dark on the chrome, a
// light grey beside the white rows.
void drawPanelEdge(QPainter& p, qreal dpr) {
    const qreal inset = halfDevicePixel(dpr);
    QPainterPath edge;
    edge.addRoundedRect(
        QRectF(QPointF(0, 0), QSizeF(BackgroundSize)).adjusted(inset, inset, -inset, -inset),
        CornerRadius - inset, CornerRadius - inset);
    const qreal w = BackgroundSize.width();
    const qreal hair = 1.0 / dpr;

    p.save();
    p.setClipRect(QRectF(0, 0, w, HeaderBottom));
    p.strokePath(edge, QPen(QColor::fromRgb(ChromeEdge), hair));
    p.setClipRect(QRectF(0, HeaderBottom, w, FooterTop - HeaderBottom));
    p.strokePath(edge, QPen(QColor::fromRgb(RowEdge), hair));
    p.setClipRect(QRectF(0, FooterTop, w, BackgroundSize.height() - FooterTop));
    p.strokePath(edge, QPen(QColor::fromRgb(ChromeEdge), hair));
    p.restore();
}

// --- NEW badge letters ------------------------------------------------------

// At one device pixel per logical pixel the letters are set from pixel
// masks: vector letters of this size turn to grey mush.
constexpr int LetterRows = 7;
struct PixelLetter {
    int width;
    std::array<const char*, LetterRows> rows;
};
constexpr PixelLetter PixelN{5, {"#...#", "##..#", "##..#", "#.#.#", "#..##", "#..##", "#...#"}};
constexpr PixelLetter PixelE{4, {"####", "#...", "#...", "###.", "#...", "#...", "####"}};
constexpr PixelLetter PixelW{
    7, {"#.....#", "#.....#", "#..#..#", "#..#..#", "#.#.#.#", "##...##", "#.....#"}};

void drawPixelWord(QPainter& p, QPointF origin, const QColor& colour) {
    qreal x = origin.x();
    for (const PixelLetter* letter : {&PixelN, &PixelE, &PixelW}) {
        for (int row = 0; row < LetterRows; ++row) {
            for (int col = 0; col < letter->width; ++col) {
                if (letter->rows[static_cast<std::size_t>(row)][col] == '#') {
                    p.fillRect(QRectF(x + col, origin.y() + row, 1, 1), colour);
                }
            }
        }
        x += letter->width + 1;
    }
}

// Above one device pixel per logical pixel there are enough pixels for a
// real bold face; its outline is fitted exactly into the letters' box.
void drawVectorWord(QPainter& p, const QRectF& box, const QColor& colour) {
    QFont font = uiFont(10, QFont::Black);
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    QPainterPath word;
    word.addText(0, 0, font, QStringLiteral("NEW"));
    const QRectF ink = word.boundingRect();
    QTransform fit;
    fit.translate(box.left(), box.top());
    fit.scale(box.width() / ink.width(), box.height() / ink.height());
    fit.translate(-ink.left(), -ink.top());
    p.fillPath(fit.map(word), colour);
}

// --- hand cursor shape ------------------------------------------------------

// Outline of a pointing hand on a 32 x 32 grid; the index finger is centred
// on x = 12 and its flat tip runs along y = 1. Straight edges run on pixel
// centres so that the one-pixel outline stays sharp at 1x.
QPainterPath handOutline() {
    QPainterPath h;
    // Index finger, up its left side and over the tip.
    h.moveTo(9.5, 16.5);
    h.lineTo(9.5, 3.5);
    h.arcTo(QRectF(9.5, 1.5, 4, 4), 180, -90);
    h.lineTo(12.5, 1.5);
    h.arcTo(QRectF(10.5, 1.5, 4, 4), 90, -90);
    h.lineTo(14.5, 11.0);
    // Three folded fingers, each knuckle a little lower than the last.
    h.arcTo(QRectF(14.5, 8.5, 4, 4), 180, -180);
    h.lineTo(18.5, 12.0);
    h.arcTo(QRectF(18.5, 9.5, 4, 4), 180, -180);
    h.lineTo(22.5, 13.5);
    h.arcTo(QRectF(22.5, 11.5, 3, 3), 180, -180);
    // Outer edge of the hand down to the wrist.
    h.lineTo(25.5, 20.0);
    h.cubicTo(25.5, 22.5, 24.6, 23.8, 23.5, 25.0);
    h.lineTo(23.5, 29.5);
    h.lineTo(12.5, 29.5);
    h.lineTo(12.5, 25.5);
    // Thumb, folded in from the left.
    h.cubicTo(10.5, 23.5, 7.5, 20.5, 5.5, 17.8);
    h.cubicTo(4.3, 16.2, 5.6, 14.2, 7.5, 15.2);
    h.cubicTo(8.3, 15.6, 8.9, 16.2, 9.5, 16.9);
    h.closeSubpath();
    return h;
}

QPixmap handPixmap(qreal dpr) {
    QPixmap pm = canvas(HandCursorSize, dpr);
    QPainter p(&pm);
    beginSmooth(p);
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPath(handOutline());
    // Creases between the folded fingers and the cuff seam.
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(18.5, 12.0), QPointF(18.5, 15.0));
    p.drawLine(QPointF(22.5, 13.5), QPointF(22.5, 16.0));
    p.drawLine(QPointF(12.5, 26.5), QPointF(23.5, 26.5));
    return pm;
}

}  // namespace

QPixmap background(qreal dpr) {
    QPixmap pm = canvas(BackgroundSize, dpr);
    QPainter p(&pm);
    beginSmooth(p);
    p.setPen(Qt::NoPen);
    p.setClipPath(panelOutline());
    drawHeader(p);
    drawWordmark(p);
    drawCaptionButtons(p, dpr);
    drawBanner(p);
    drawRowBands(p, dpr);
    drawFooter(p);
    p.setClipping(false);
    drawPanelEdge(p, dpr);
    return pm;
}

QPixmap arrow(bool highlighted, qreal dpr) {
    QPixmap pm = canvas(ArrowSize, dpr);
    QPainter p(&pm);
    beginSmooth(p);
    p.setPen(Qt::NoPen);
    const QRectF disc(1.5, 1.5, 13, 13);
    QLinearGradient fill(0, disc.top(), 0, disc.bottom());
    fill.setColorAt(0, QColor::fromRgb(highlighted ? Blue : Red));
    fill.setColorAt(1, QColor::fromRgb(highlighted ? BlueDeep : RedDeep));
    p.setBrush(fill);
    p.drawEllipse(disc);
    drawChevron(p, QPointF(10, 8), 3, 2.6, QColor::fromRgb(0xff, 0xff, 0xff), 1.8);
    return pm;
}

QPixmap newBadge(qreal dpr) {
    QPixmap pm = canvas(NewBadgeSize, dpr);
    QPainter p(&pm);
    beginSmooth(p);
    p.setPen(Qt::NoPen);
    QPainterPath pill;
    pill.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(NewBadgeSize)), 3, 3);
    QLinearGradient fill(0, 0, 0, NewBadgeSize.height());
    fill.setColorAt(0, QColor::fromRgb(Red));
    fill.setColorAt(1, QColor::fromRgb(RedDeep));
    p.fillPath(pill, fill);

    // N, E and W with one-pixel gaps are 18 wide and 7 tall.
    const QPointF origin(3, 2);
    const QColor ink = QColor::fromRgb(0xff, 0xff, 0xff);
    if (dpr == 1.0) {
        p.setRenderHint(QPainter::Antialiasing, false);
        drawPixelWord(p, origin, ink);
    } else {
        drawVectorWord(p, QRectF(origin, QSizeF(18, LetterRows)), ink);
    }
    return pm;
}

QPixmap balloon(bool tipAtBottom, qreal dpr) {
    QPixmap pm = canvas(BalloonSize, dpr);
    QPainter p(&pm);
    beginSmooth(p);
    p.setPen(Qt::NoPen);

    // The body keeps clear of the tip's rows (0..3 at the top, from 154 at the
    // bottom) and leaves room for the shadow; the labels (x 13..230,
    // y 17..146) lie well inside it.
    constexpr qreal tipHeight = 5;
    constexpr qreal tipX = 24;
    constexpr qreal tipHalfBase = 6;
    const qreal bodyTop = tipAtBottom ? 1.5 : 4.5;
    const qreal bodyBottom = tipAtBottom ? 153.5 : 154.5;
    const QRectF body(1.5, bodyTop, 235, bodyBottom - bodyTop);
    QPainterPath shape;
    shape.addRoundedRect(body, 6, 6);
    QPainterPath tip;
    if (tipAtBottom) {
        tip.moveTo(tipX - tipHalfBase, body.bottom() - 1);
        tip.lineTo(tipX, body.bottom() + tipHeight);
        tip.lineTo(tipX + tipHalfBase, body.bottom() - 1);
    } else {
        tip.moveTo(tipX - tipHalfBase, body.top() + 1);
        tip.lineTo(tipX, body.top() - tipHeight + 1);
        tip.lineTo(tipX + tipHalfBase, body.top() + 1);
    }
    tip.closeSubpath();
    shape = shape.united(tip).simplified();

    // Soft shadow: a few widening, fading outlines shifted down a little.
    for (int i = 3; i >= 1; --i) {
        p.strokePath(shape.translated(0.6, 1.2),
                     QPen(withAlpha(ShadowTone, 0.045 * (4 - i)), i * 1.6, Qt::SolidLine,
                          Qt::RoundCap, Qt::RoundJoin));
    }
    p.fillPath(shape, QColor::fromRgb(WindowBackground));
    p.strokePath(shape, QPen(QColor::fromRgb(BalloonEdge), 1.0));

    // Heading accent and a rule between heading and body; both lie where no
    // label covers them.
    QPainterPath accent;
    accent.addRoundedRect(QRectF(6, 18, 3, 15), 1.5, 1.5);
    p.fillPath(accent, QColor::fromRgb(Blue));
    const qreal hair = 1.0 / dpr;
    p.fillRect(QRectF(13, 37.5, 217, hair), QColor::fromRgb(RowSeparator));
    return pm;
}

QPixmap rowHighlight(qreal dpr) {
    QPixmap pm = canvas(RowHighlightSize, dpr);
    QPainter p(&pm);
    beginSmooth(p);
    const qreal w = RowHighlightSize.width();
    const qreal h = RowHighlightSize.height();
    const qreal hair = 1.0 / dpr;

    QLinearGradient fill(0, 0, w, 0);
    fill.setColorAt(0, QColor::fromRgb(HoverTint));
    fill.setColorAt(1, QColor::fromRgb(HoverTintLight));
    p.fillRect(QRectF(0, 0, w, h), fill);
    p.fillRect(QRectF(0, 0, w, hair), QColor::fromRgb(HoverLine));
    p.fillRect(QRectF(0, h - hair, w, hair), QColor::fromRgb(HoverLine));

    QPainterPath bar;
    bar.addRoundedRect(QRectF(1, 14, 3, h - 28), 1.5, 1.5);
    p.fillPath(bar, QColor::fromRgb(Blue));

    // The panel's own side edge, which this picture covers while shown.
    p.fillRect(QRectF(0, 0, hair, h), QColor::fromRgb(RowEdge));
    p.fillRect(QRectF(w - hair, 0, hair, h), QColor::fromRgb(RowEdge));
    return pm;
}

QPixmap appIconPicture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    beginSmooth(p);
    p.setPen(Qt::NoPen);
    // The tile sits on whole pixels; from 22 px on it makes room for the
    // dot at its top right.
    const bool withDot = size >= 22;
    const qreal dotRoom = withDot ? std::round(size * 0.08) : 0;
    const QRectF tile(0, dotRoom, size - dotRoom, size - dotRoom);
    drawMark(p, tile, false, withDot);
    p.end();
    return pm;
}

namespace {

// Draws each size when it is first asked for: at start-up the tray wants
// one, and the window's sizes are wanted only when the panel is first shown.
// Drawing all six before the icon could show cost a start-up milliseconds.
class AppIconEngine final : public QIconEngine {
  public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal dpr = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1;
        QPixmap picture = pixmap(rect.size() * dpr, mode, state);
        picture.setDevicePixelRatio(dpr);
        painter->drawPixmap(rect, picture);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::max(1, std::min(size.width(), size.height()));
        auto drawn = drawn_.find(side);
        if (drawn == drawn_.end()) drawn = drawn_.emplace(side, appIconPicture(side)).first;
        return drawn->second;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : {16, 22, 32, 48, 64, 128}) sizes.append(QSize(side, side));
        return sizes;
    }
    QIconEngine* clone() const override { return new AppIconEngine(*this); }
    QString key() const override { return QStringLiteral("TalvaneAppIcon"); }

  private:
    std::map<int, QPixmap> drawn_;
};

}  // namespace

QIcon appIcon() { return QIcon(new AppIconEngine); }

QCursor handCursor(qreal dpr) {
    QPoint hotSpot = HandCursorHotSpot;
    // Qt's X11 backend (measured with 6.4) hands the hot spot to the server
    // as given, beside an image in device pixels, so there it has to be in
    // device pixels too; other platforms scale it themselves.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        hotSpot = (QPointF(hotSpot) * dpr).toPoint();
    }
    return QCursor(handPixmap(dpr), hotSpot.x(), hotSpot.y());
}

QCursor handCursor() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return handCursor(screen ? screen->devicePixelRatio() : 1.0);
}

void installFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"),
                                                         QStringLiteral("Noto Sans CJK SC")});
}

}  // namespace talvane::artwork
