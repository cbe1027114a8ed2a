#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talvane {

// The first `count` UTF-16 units of `text` (all of it when shorter), one
// fewer when the last of them would open a surrogate pair, so that a cut
// never leaves half a character behind.
inline std::u16string_view LeadingUnits(std::u16string_view text, std::size_t count) {
    if (text.size() <= count) return text;
    if (count > 0 && text[count - 1] >= 0xD800 && text[count - 1] <= 0xDBFF) --count;
    return text.substr(0, count);
}

// Plain decimal digits, a '-' first when negative, as a number goes into a URL.
inline std::u16string DecimalText(long long n) {
    std::u16string digits;
    for (const char c : std::to_string(n)) digits.push_back(static_cast<char16_t>(c));
    return digits;
}

}  // namespace talvane
