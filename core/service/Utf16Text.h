#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Utf16.h"

namespace talvane {

// The first `count` UTF-16 units of `text` (all of it when shorter), one
// fewer when the last of them would open a surrogate pair, so that a cut
// never leaves half a character behind.
inline std::u16string_view LeadingUnits(std::u16string_view text, std::size_t count) {
    if (text.size() <= count) return text;
    if (count > 0 && IsHighSurrogate(text[count - 1])) --count;
    return text.substr(0, count);
}

// The first `limit` pieces of `text` between occurrences of `separator`,
// left to right, empty pieces included, as views into `text`; fewer when
// the separator occurs fewer times. The last piece ends at the next
// separator, and nothing beyond it is looked at: a text made of nothing but
// separators costs no more than one with a handful.
inline std::vector<std::u16string_view> LeadingPieces(std::u16string_view text,
                                                      std::u16string_view separator,
                                                      std::size_t limit) {
    std::vector<std::u16string_view> pieces;
    if (limit == 0) return pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t start = 0;
    while (pieces.size() + 1 < limit) {
        const std::size_t found = text.find(separator, start);
        if (found == std::u16string_view::npos) break;
        pieces.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    const std::size_t end = text.find(separator, start);
    pieces.push_back(text.substr(start, end == std::u16string_view::npos ? end : end - start));
    return pieces;
}

}  // namespace talvane
