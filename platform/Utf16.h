#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talvane {

// Text crosses the seam as UTF-16 code units; these are the few facts about
// them that both sides need.

inline bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// True when the units at index and index + 1 are one character together.
inline bool IsSurrogatePairAt(std::u16string_view text, std::size_t index) {
    return index + 1 < text.size() && IsHighSurrogate(text[index]) &&
           IsLowSurrogate(text[index + 1]);
}

// Plain decimal digits, a '-' first when negative, as a number goes into a
// URL or a client number.
inline std::u16string DecimalText(long long n) {
    std::u16string digits;
    for (const char c : std::to_string(n)) digits.push_back(static_cast<char16_t>(c));
    return digits;
}

}  // namespace talvane
