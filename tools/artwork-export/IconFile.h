#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>

namespace talvane::artexport {

// One picture of an icon or cursor file; hotSpot only counts in a cursor.
struct IconImage {
    QImage image;
    QPoint hotSpot;
};

enum class IconKind { Icon = 1, Cursor = 2 };

// A Windows .ico or .cur file holding every picture. Pictures below 256 px
// are stored as 32-bit bitmaps with an AND mask, which every reader
// (including the resource compiler's) understands; 256 px as PNG, which is
// how Windows stores its large icons.
QByteArray IconFileBytes(const QList<IconImage>& images, IconKind kind);

}  // namespace talvane::artexport
