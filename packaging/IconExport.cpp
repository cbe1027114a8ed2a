// Writes the program's own icon at one size as a PNG, so that the icon the
// desktop shows for the installed program is the one the tray shows.
//   talvane-icon-export SIZE OUTPUT.png
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "artwork/Artwork.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: talvane-icon-export SIZE OUTPUT.png\n", stderr);
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size <= 0) {
        std::fprintf(stderr, "talvane-icon-export: bad size '%s'\n", argv[1]);
        return 2;
    }
    // Runs during the build, where there may be no display at all.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QImage image = talvane::artwork::appIcon().pixmap(QSize(size, size)).toImage();
    if (image.size() != QSize(size, size)) {
        std::fprintf(stderr, "talvane-icon-export: no %d px rendering of the icon\n", size);
        return 1;
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "talvane-icon-export: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
