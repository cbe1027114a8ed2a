#pragma once

#include <QFont>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include "components/displaymsg/AlertContent.h"

namespace talvane::displaymsg {

// The card's faces: Latin in Liberation Sans, Chinese in the Simplified
// Chinese face (the fallback would otherwise pick Japanese glyph forms).
struct CardFonts {
    CardFonts();
    QFont heading;
    QFont title;
    QFont text;
    QFont small;
};

// Lines drawn one below the other from the top of the first.
struct TextBlock {
    QStringList lines;
    QPoint topLeft;
    int leading = 0;
};

// Where everything on a reminder card goes, worked out once from its
// content: the card sizes itself, cuts its corners and paints from this.
// Parts the content lacks are empty (no time, no note, no link).
struct CardLayout {
    QSize size;
    int radius = 0;
    QRect header;
    QPointF bellCentre;
    QString heading;  // elided to the room left of the close glyph
    QPoint headingBaseline;
    QPointF closeCentre;
    // Where a click only closes: the header's top-right corner, well beyond
    // the drawn cross, so that a click meant to dismiss never opens the link
    // by a near miss.
    QRect closeTarget;
    TextBlock title;
    QString timeLabel;
    QPoint timeLabelBaseline;
    QString time;  // elided to the card's text width
    QPoint timeBaseline;
    TextBlock body;
    QRect rule;  // above the link line
    TextBlock footer;
    QRect progress;  // the whole bar; it shrinks with the time left
};

// Needs a QGuiApplication (font metrics).
CardLayout layOutCard(const AlertContent& content, const CardFonts& fonts, int width);

}  // namespace talvane::displaymsg
