// Renders the Windows program's artwork from the Qt face's drawing code:
//   talvane-artwork-export FOLDER          writes the files into FOLDER
//   talvane-artwork-export --check FOLDER  exit 1 when FOLDER's files differ
// The check keeps the committed files in step with the code that draws them.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QTextStream>

#include "artwork/Artwork.h"
#include "tools/artwork-export/WindowsArtwork.h"

namespace {

using talvane::artexport::ArtFile;

bool write(const QDir& dir, const ArtFile& file) {
    const QString path = dir.filePath(file.name);
    if (!file.image.isNull()) {
        return file.image.save(path, "PNG");
    }
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(file.bytes) == file.bytes.size();
}

// Pictures are compared by their pixels, so that another zlib or PNG writer
// does not count as a change, and within a small tolerance per channel:
// Qt's raster engine blends anti-aliased edges through other SIMD paths on
// other processors (AVX-512 against AVX2), off by a step or two.
constexpr int kChannelTolerance = 4;

bool samePixels(const QImage& a, const QImage& b) {
    if (a.isNull() || b.isNull() || a.size() != b.size()) return false;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            for (int shift = 0; shift < 32; shift += 8) {
                const int d = int((p[col] >> shift) & 0xff) - int((q[col] >> shift) & 0xff);
                if (d > kChannelTolerance || d < -kChannelTolerance) return false;
            }
        }
    }
    return true;
}

// An icon file holds several pictures; each is compared as the PNGs are.
bool sameIcons(QByteArray stored, QByteArray drawn) {
    QBuffer storedBuffer(&stored);
    QBuffer drawnBuffer(&drawn);
    QImageReader a(&storedBuffer, "ico");
    QImageReader b(&drawnBuffer, "ico");
    if (a.imageCount() <= 0 || a.imageCount() != b.imageCount()) return false;
    for (int i = 0; i < a.imageCount(); ++i) {
        if (!a.jumpToImage(i) || !b.jumpToImage(i) || !samePixels(a.read(), b.read())) return false;
    }
    return true;
}

bool matches(const QDir& dir, const ArtFile& file) {
    const QString path = dir.filePath(file.name);
    if (!file.image.isNull()) return samePixels(QImage(path), file.image);
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return false;
    const QByteArray stored = in.readAll();
    if (stored == file.bytes) return true;
    return file.name.endsWith(QLatin1String(".ico")) && sameIcons(stored, file.bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    talvane::artwork::installFontSubstitutions();

    const QStringList args = app.arguments().mid(1);
    const bool check = args.size() == 2 && args[0] == QLatin1String("--check");
    if (!(check || args.size() == 1)) {
        QTextStream(stderr) << "usage: talvane-artwork-export [--check] FOLDER\n";
        return 2;
    }
    const QDir dir(args.last());
    if (!check && !QDir().mkpath(dir.path())) {
        QTextStream(stderr) << "cannot create " << dir.path() << '\n';
        return 1;
    }

    int failures = 0;
    for (const ArtFile& file : talvane::artexport::RenderWindowsArtwork()) {
        if (check ? matches(dir, file) : write(dir, file)) continue;
        ++failures;
        QTextStream(stderr) << (check ? "differs from its drawing code: " : "cannot write ")
                            << dir.filePath(file.name) << '\n';
    }
    if (check && failures > 0) {
        QTextStream(stderr) << "render them again: talvane-artwork-export " << dir.path() << '\n';
    }
    return failures == 0 ? 0 : 1;
}
