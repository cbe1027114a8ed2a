#include "web/Utf8.h"

#include "platform/Utf16.h"

namespace talvane {

char32_t NextCodePoint(std::u16string_view text, std::size_t& index) {
    const char32_t unit = text[index];
    if (IsSurrogatePairAt(text, index)) {
        index += 2;
        return 0x10000 + ((unit - 0xD800) << 10) + (text[index - 1] - 0xDC00);
    }
    ++index;
    return IsHighSurrogate(static_cast<char16_t>(unit)) ||
                   IsLowSurrogate(static_cast<char16_t>(unit))
               ? char32_t{0xFFFD}
               : unit;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace talvane
