#pragma once

#include <optional>
#include <string>

namespace talvane {

// GBK's three user-defined areas as Windows' code page 936 maps them: onto
// the private-use characters U+E000 to U+E765, in area and row order. glibc's
// GBK rejects these pairs, so a page decoded without this table splits into
// other records than on Windows.

// The private-use character of the pair lead, trail, if the pair lies in an
// area.
std::optional<char16_t> GbkUserDefinedToUnicode(unsigned char lead, unsigned char trail);

// The two bytes of a private-use character that an area holds.
std::optional<std::string> GbkUserDefinedFromUnicode(char16_t c);

}  // namespace talvane
