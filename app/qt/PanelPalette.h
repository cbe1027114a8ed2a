#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRectF>

#include "app/Element.h"
#include "app/PlainLook.h"

class QPainter;

namespace talvane {

// The Qt face's colours: the palette's where the design names the system's
// (button text; text on base, which is Qt's window text on window
// background), the artwork's elsewhere, and only the palette's in High
// Contrast.

// A palette of a high-contrast theme: window and base pure black or pure
// white, with the opposite for their text. Qt 6.4 reports no such setting
// of its own, and no ordinary theme is drawn in pure black and white.
bool IsHighContrast(const QPalette& palette);

QColor PaletteColour(const QPalette& palette, SystemColour colour);
QColor LabelTextColour(const QPalette& palette, bool highContrast, const Element& label);
QColor LabelFillColour(const QPalette& palette, bool highContrast, ColourRole role);

// High Contrast: what stands for an image element (PlainStandIn).
void DrawPlainImage(QPainter& painter, const QPalette& palette, const Element& image,
                    const QRectF& box, const QFont& font);

}  // namespace talvane
