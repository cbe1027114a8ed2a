#include "tools/artwork-export/WindowsArtwork.h"

#include <QPixmap>

#include "artwork/Artwork.h"
#include "tools/artwork-export/IconFile.h"

namespace talvane::artexport {
namespace {

QString scaled(const char* name, int scale) {
    return QStringLiteral("%1-%2.png").arg(QLatin1String(name)).arg(scale);
}

// Sizes Windows asks an icon file for: small and large icons at 100 to 200 %
// and the 256 px picture of Explorer's large views.
constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

// The colours that belong to the pictures, as COLORREF values (0x00bbggrr).
QByteArray colourHeader() {
    const struct {
        const char* name;
        QRgb rgb;
    } colours[] = {
        {"kButtonText", artwork::ButtonText},
        {"kWindowText", artwork::WindowText},
        {"kWindowBackground", artwork::WindowBackground},
        {"kFooterText", artwork::FooterText},
        {"kFooterShadow", artwork::FooterShadow},
        {"kPanelBackdrop", artwork::PanelBackdrop},
    };
    QByteArray text =
        "// Written by talvane-artwork-export from artwork/Artwork.h; do not edit.\n"
        "#pragma once\n\nnamespace talvane::artcolour {\n\n";
    for (const auto& c : colours) {
        text +=
            QStringLiteral("inline constexpr unsigned long %1 = 0x%2;\n")
                .arg(QLatin1String(c.name))
                .arg(qBlue(c.rgb) << 16 | qGreen(c.rgb) << 8 | qRed(c.rgb), 6, 16, QLatin1Char('0'))
                .toLatin1();
    }
    return text + "\n}  // namespace talvane::artcolour\n";
}

}  // namespace

QList<ArtFile> RenderWindowsArtwork() {
    QList<ArtFile> files;
    QList<IconImage> cursor;
    for (int scale : kScales) {
        const qreal dpr = scale / 100.0;
        const auto add = [&](const char* name, const QPixmap& pixmap) {
            files.append({scaled(name, scale), pixmap.toImage(), {}});
        };
        add("background", artwork::background(dpr));
        add("arrow-red", artwork::arrow(false, dpr));
        add("arrow-blue", artwork::arrow(true, dpr));
        add("new-badge", artwork::newBadge(dpr));
        add("balloon-tip-top", artwork::balloon(false, dpr));
        add("balloon-tip-bottom", artwork::balloon(true, dpr));
        add("row-highlight", artwork::rowHighlight(dpr));

        const QPointF hotSpot = QPointF(artwork::HandCursorHotSpot) * dpr;
        cursor.append({artwork::handCursor(dpr).pixmap().toImage(), hotSpot.toPoint()});
    }

    QList<IconImage> icon;
    for (int size : kIconSizes) {
        icon.append({artwork::appIconPicture(size).toImage(), {}});
    }
    files.append({QStringLiteral("talvane.ico"), {}, IconFileBytes(icon, IconKind::Icon)});
    files.append({QStringLiteral("hand.cur"), {}, IconFileBytes(cursor, IconKind::Cursor)});
    files.append({QStringLiteral("ArtColours.h"), {}, colourHeader()});
    return files;
}

}  // namespace talvane::artexport
