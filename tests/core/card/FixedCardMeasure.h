#pragma once

#include "card/CardMeasure.h"
#include "tests/core/text/FixedWidthMeasure.h"

namespace talvane::testing {

// Fixed advances in every font (see FixedWidthMeasure), and line measures of
// the size the card's fonts have at 96 dpi.
class FixedCardMeasure : public card::CardMeasure {
  public:
    int width(card::CardFont, std::u16string_view text) const override {
        return advances_.width(text);
    }
    card::FontMetrics metrics(card::CardFont font) const override {
        switch (font) {
            case card::CardFont::Heading:
                return {12, 15, 16};
            case card::CardFont::Title:
                return {15, 19, 20};
            case card::CardFont::Text:
                return {12, 15, 17};
            case card::CardFont::Small:
                break;
        }
        return {11, 14, 15};
    }

  private:
    FixedWidthMeasure advances_;
};

}  // namespace talvane::testing
