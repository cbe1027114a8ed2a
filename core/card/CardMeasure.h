#pragma once

#include <string_view>

#include "text/TextMeasure.h"

namespace talvane::card {

// The card's four fonts.
enum class CardFont { Heading, Title, Text, Small };

// A font's vertical measures in device pixels.
struct FontMetrics {
    int ascent = 0;
    int height = 0;       // ascent + descent
    int lineSpacing = 0;  // from one line's top to the next one's
};

// What a face answers about its fonts, so that the card is laid out once.
class CardMeasure {
  public:
    virtual ~CardMeasure() = default;
    virtual int width(CardFont font, std::u16string_view text) const = 0;
    virtual FontMetrics metrics(CardFont font) const = 0;
};

// One of a CardMeasure's fonts as a text::TextMeasure.
class FontMeasure : public text::TextMeasure {
  public:
    FontMeasure(const CardMeasure& measure, CardFont font) : measure_(measure), font_(font) {}
    int width(std::u16string_view text) const override { return measure_.width(font_, text); }

  private:
    const CardMeasure& measure_;
    CardFont font_;
};

}  // namespace talvane::card
