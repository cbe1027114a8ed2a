#include "tools/artwork-preview/ContactSheet.h"

#include <QCursor>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>

#include <vector>

#include "artwork/Artwork.h"

namespace talvane::preview {
namespace {

constexpr int Zoom = 8;
constexpr int Gap = 16;

void checkerboard(QPainter& p, const QRect& r, int cell) {
    p.fillRect(r, QColor(0xee, 0xee, 0xee));
    for (int y = r.top(); y < r.bottom(); y += cell) {
        for (int x = r.left() + ((y - r.top()) / cell % 2) * cell; x < r.right(); x += 2 * cell) {
            p.fillRect(QRect(x, y, cell, cell).intersected(r), QColor(0xd6, 0xd6, 0xd6));
        }
    }
}

}  // namespace

QImage zoomSheet(qreal dpr) {
    std::vector<QImage> tiles;
    tiles.push_back(artwork::arrow(false, dpr).toImage());
    tiles.push_back(artwork::arrow(true, dpr).toImage());
    tiles.push_back(artwork::newBadge(dpr).toImage());
    tiles.push_back(artwork::handCursor(dpr).pixmap().toImage());

    // Enlarge so that one logical pixel is the same size on both sheets.
    const int scale = static_cast<int>(Zoom / dpr);
    int width = Gap;
    int height = 0;
    for (const QImage& t : tiles) {
        width += t.width() * scale + Gap;
        height = std::max(height, t.height() * scale);
    }
    QImage sheet(width, height + 2 * Gap, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    int x = Gap;
    for (const QImage& t : tiles) {
        const QRect target(x, Gap, t.width() * scale, t.height() * scale);
        checkerboard(p, target, Zoom);
        p.drawImage(target, t);
        x += target.width() + Gap;
    }
    return sheet;
}

QImage iconSheet() {
    const QIcon icon = artwork::appIcon();
    const QList<int> sizes{16, 22, 32, 48, 64};
    constexpr int Enlarged = 4;
    int width = Gap;
    for (int s : sizes) width += s * Enlarged + Gap;
    const int rowHeight = 64 * Enlarged + 2 * Gap;
    QImage sheet(width, 2 * rowHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&sheet);
    p.fillRect(QRect(0, 0, width, rowHeight), QColor(0xf3, 0xf4, 0xf6));
    p.fillRect(QRect(0, rowHeight, width, rowHeight), QColor(0x20, 0x24, 0x2a));
    for (int tray = 0; tray < 2; ++tray) {
        int x = Gap;
        const int top = tray * rowHeight + Gap;
        for (int s : sizes) {
            const QPixmap pm = icon.pixmap(s, s);
            p.drawPixmap(x, top, pm);
            p.drawImage(QRect(x, top + 64 + Gap / 2, s * Enlarged / 2, s * Enlarged / 2),
                        pm.toImage());
            x += s * Enlarged + Gap;
        }
    }
    return sheet;
}

QImage onDesktop(const QPixmap& panel) {
    const qreal dpr = panel.devicePixelRatio();
    const QSize logical = (QSizeF(panel.size()) / dpr).toSize();
    constexpr int Margin = 24;
    QImage desk((logical + QSize(2 * Margin, 2 * Margin)) * dpr,
                QImage::Format_ARGB32_Premultiplied);
    desk.setDevicePixelRatio(dpr);
    QPainter p(&desk);
    QLinearGradient sky(0, 0, 0, logical.height() + 2 * Margin);
    sky.setColorAt(0, QColor(0x6b, 0x7f, 0x95));
    sky.setColorAt(1, QColor(0x3d, 0x4a, 0x5a));
    p.fillRect(QRect(QPoint(0, 0), logical + QSize(2 * Margin, 2 * Margin)), sky);
    p.drawPixmap(Margin, Margin, panel);
    return desk;
}

}  // namespace talvane::preview
