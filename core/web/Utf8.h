#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talvane {

// The code point that begins at text[index]; index moves past it. An
// unpaired surrogate reads as U+FFFD.
char32_t NextCodePoint(std::u16string_view text, std::size_t& index);

// The UTF-8 bytes of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace talvane
