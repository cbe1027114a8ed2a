#pragma once

#include <string_view>

namespace talvane::text {

// How wide a piece of text is drawn in one font, in device pixels. Each face
// answers it from its own fonts; the rules that break and shorten lines are
// computed against it, so both faces break the same text at the same place
// when their fonts agree.
class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    virtual int width(std::u16string_view text) const = 0;
};

}  // namespace talvane::text
