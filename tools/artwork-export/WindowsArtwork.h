#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace talvane::artexport {

// One file of the Windows program's artwork: a PNG picture (image) or a
// finished icon or cursor file (bytes).
struct ArtFile {
    QString name;
    QImage image;
    QByteArray bytes;
};

// Display scales the Windows program ships pictures for, in percent.
inline constexpr int kScales[] = {100, 150, 200};

// Every panel picture at every scale ("background-150.png"), the program's
// icon (talvane.ico) and the hand pointer (hand.cur), all drawn by the Qt
// face's artwork code, and the label colours that go with them (ArtColours.h).
QList<ArtFile> RenderWindowsArtwork();

}  // namespace talvane::artexport
