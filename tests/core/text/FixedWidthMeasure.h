#pragma once

#include <string_view>

#include "text/TextMeasure.h"

namespace talvane::testing {

// A font of fixed advances: 7 px a Latin character, 14 px a wide one (and a
// supplementary character), 10 px the ellipsis.
class FixedWidthMeasure : public text::TextMeasure {
  public:
    int width(std::u16string_view text) const override {
        int total = 0;
        for (char16_t c : text) {
            if (c >= 0xdc00 && c < 0xe000) continue;  // the pair's second half
            total += c == u'\u2026' ? 10 : c < 0x2e80 ? 7 : 14;
        }
        return total;
    }
};

}  // namespace talvane::testing
