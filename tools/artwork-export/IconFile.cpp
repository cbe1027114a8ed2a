#include "tools/artwork-export/IconFile.h"

#include <QBuffer>
#include <QDataStream>

namespace talvane::artexport {
namespace {

constexpr int kDirectoryHeaderBytes = 6;
constexpr int kDirectoryEntryBytes = 16;
constexpr int kBitmapHeaderBytes = 40;

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// BITMAPINFOHEADER, then the colour rows and the mask rows, both bottom-up;
// the header's height counts both halves.
QByteArray bitmapBytes(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(kBitmapHeaderBytes) << qint32(w) << qint32(h * 2) << quint16(1) << quint16(32)
        << quint32(0) << quint32(w * h * 4 + maskStride * h) << qint32(0) << qint32(0) << quint32(0)
        << quint32(0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
                << quint8(qAlpha(row[x]));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray mask(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(row[x]) == 0) {
                mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.writeRawData(mask.constData(), mask.size());
    }
    return bytes;
}

}  // namespace

QByteArray IconFileBytes(const QList<IconImage>& images, IconKind kind) {
    QList<QByteArray> payloads;
    for (const IconImage& entry : images) {
        payloads << (entry.image.width() >= 256 ? pngBytes(entry.image) : bitmapBytes(entry.image));
    }

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(kind) << quint16(images.size());
    quint32 offset = kDirectoryHeaderBytes + kDirectoryEntryBytes * images.size();
    for (int i = 0; i < images.size(); ++i) {
        const IconImage& entry = images[i];
        const bool cursor = kind == IconKind::Cursor;
        // 0 stands for 256 in the one-byte size fields.
        out << quint8(entry.image.width() & 0xff) << quint8(entry.image.height() & 0xff)
            << quint8(0) << quint8(0) << quint16(cursor ? entry.hotSpot.x() : 1)
            << quint16(cursor ? entry.hotSpot.y() : 32) << quint32(payloads[i].size()) << offset;
        offset += payloads[i].size();
    }
    for (const QByteArray& payload : payloads) {
        out.writeRawData(payload.constData(), payload.size());
    }
    return bytes;
}

}  // namespace talvane::artexport
