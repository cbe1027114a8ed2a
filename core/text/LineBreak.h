#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/TextMeasure.h"

namespace talvane::text {

// What happens to text that the last allowed line cannot hold.
enum class Overflow {
    Cut,      // it is left out (a label cut at its bottom edge)
    Ellipsis  // the last line ends in "…"
};

// text broken into lines no wider than width: after blanks and between wide
// (CJK) characters, never before closing punctuation or after opening
// punctuation; a run wider than the line is broken where it must be. A line
// feed always ends a line (a carriage return is dropped). Blanks at a soft
// break are dropped. At most maxLines lines.
std::vector<std::u16string> breakLines(std::u16string_view text, const TextMeasure& measure,
                                       int width, std::size_t maxLines,
                                       Overflow overflow = Overflow::Ellipsis);

// text itself when it fits into width, else as much of it as fits with "…".
std::u16string elide(std::u16string_view text, const TextMeasure& measure, int width);

// The first count units of text, one fewer when the cut would split a
// surrogate pair.
std::u16string_view leadingUnits(std::u16string_view text, std::size_t count);

}  // namespace talvane::text
