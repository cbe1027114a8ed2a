#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "card/CardGeometry.h"
#include "card/CardMeasure.h"

namespace talvane::card {

// Lines drawn one below the other; line i's top is topLeft.y + i * step.
struct TextBlock {
    std::vector<std::u16string> lines;
    Point topLeft;
    int step = 0;
};

// One line of text and its top-left corner (its baseline lies the font's
// ascent below).
struct TextLine {
    std::u16string text;
    Point topLeft;
};

// What a reminder card shows, in the card's own words.
struct CardTexts {
    std::u16string_view heading;
    std::u16string_view time;
    std::u16string_view title;
    std::u16string_view note;
    bool hasLink = false;
};

// Where everything on a reminder card goes, in device pixels, worked out
// once from its content: a face sizes the window, cuts its corners and
// paints from this. Parts the content lacks are empty (no time, no note, no
// link).
struct CardLayout {
    int width = 0;
    int height = 0;
    int radius = 0;
    CardBox header;
    Point bellCentre;
    TextLine heading;  // elided to the room left of the close mark
    Point closeCentre;
    int closeArm = 0;  // half the cross's width
    // Where a click only closes: the header's top-right corner, well beyond
    // the drawn cross, so that a click meant to dismiss never opens the link
    // by a near miss.
    CardBox closeTarget;
    TextBlock title;
    TextLine timeLabel;
    TextLine time;  // elided to the card's text width
    TextBlock body;
    CardBox rule;  // above the link line
    TextBlock footer;
    CardBox progress;  // the whole bar; it shrinks with the time left
};

// The part of a reminder's text that a card shows, lays out or names (its
// window title, its accessible names): the first look::kLongestShownText
// units.
std::u16string_view shownText(std::u16string_view text);

// The layout at dpi (96 for logical pixels), of the shown part of each text.
CardLayout layOutCard(const CardTexts& texts, const CardMeasure& measure, int dpi = 96);

}  // namespace talvane::card
