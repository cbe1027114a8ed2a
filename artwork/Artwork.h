#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QRgb>
#include <QSize>

// The panel's pictures, drawn in code so that they stay crisp at any device
// pixel ratio. Every pixmap comes back at the requested logical size with its
// device pixel ratio already set, so it can be drawn at logical coordinates.
namespace talvane::artwork {

// Label colours that belong to the pictures they lie on.
inline constexpr QRgb ButtonText = qRgb(0x1b, 0x26, 0x30);        // row titles and lines
inline constexpr QRgb WindowText = qRgb(0x00, 0x00, 0x00);        // balloon heading and body
inline constexpr QRgb WindowBackground = qRgb(0xff, 0xff, 0xff);  // balloon interior
inline constexpr QRgb FooterText = qRgb(0xff, 0xff, 0xff);
inline constexpr QRgb FooterShadow = qRgb(0x00, 0x00, 0x00);

// What to paint beneath the background picture: it shows through the
// antialiased outer corners and wherever the window's region reaches past
// the picture, and matches the panel's dark edge there.
inline constexpr QRgb PanelBackdrop = qRgb(0x07, 0x2c, 0x37);

// Logical sizes of the pictures.
inline constexpr QSize BackgroundSize{250, 660};
inline constexpr QSize ArrowSize{16, 16};
inline constexpr QSize NewBadgeSize{23, 11};
inline constexpr QSize BalloonSize{240, 160};
inline constexpr QSize RowHighlightSize{250, 100};
inline constexpr QSize HandCursorSize{32, 32};
inline constexpr QPoint HandCursorHotSpot{12, 1};

// Header with wordmark, slogan banner and caption glyphs; five row bands of
// 100 px from y 120; footer band 620..660. Rounded outer corners (radius 6),
// transparent outside them.
QPixmap background(qreal dpr);

// Row marker: red at rest, blue while its row is hovered.
QPixmap arrow(bool highlighted, qreal dpr);

// The NEW badge.
QPixmap newBadge(qreal dpr);

// Detail balloon with a white interior and a transparent outside; the pointer
// tip sits near the left on the top edge, or on the bottom edge when
// tipAtBottom (the balloon that opens above its row).
QPixmap balloon(bool tipAtBottom, qreal dpr);

// Background of a hovered row; includes the panel's side border so the
// panel edge stays intact while it is shown.
QPixmap rowHighlight(qreal dpr);

// Tray and window icon, rendered at 16, 22, 32, 48 and 64 px (plus 128 for
// high-density trays).
QIcon appIcon();
// The same icon drawn for one size in pixels (the Windows icon file holds
// sizes that the Qt icon does not).
QPixmap appIconPicture(int size);

// 32 x 32 pointing hand, hot spot (12, 1) at the fingertip (handed to X11
// in device pixels, which Qt's backend there expects). The overload without
// arguments draws at the primary screen's device pixel ratio.
QCursor handCursor();
QCursor handCursor(qreal dpr);

// Keeps Latin "Arial" text in Liberation Sans and Chinese in the Simplified
// Chinese face where Arial itself is not installed. Call once after the
// application object exists, before any label is laid out.
void installFontSubstitutions();

}  // namespace talvane::artwork
