// Renders the Windows program's artwork from the Qt face's drawing code:
//   talvane-artwork-export FOLDER          writes the files into FOLDER
//   talvane-artwork-export --check FOLDER  exit 1 when FOLDER's files differ
// The check keeps the committed files in step with the code that draws them.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
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

// Pictures are compared by their pixels, so that another zlib or PNG
// writer does not count as a change; icon files are written byte by byte
// by this tool and compared as bytes.
bool matches(const QDir& dir, const ArtFile& file) {
    const QString path = dir.filePath(file.name);
    if (!file.image.isNull()) {
        const QImage stored(path);
        return !stored.isNull() && stored.convertToFormat(QImage::Format_ARGB32) ==
                                       file.image.convertToFormat(QImage::Format_ARGB32);
    }
    QFile in(path);
    return in.open(QIODevice::ReadOnly) && in.readAll() == file.bytes;
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
