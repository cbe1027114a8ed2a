#include "web/PercentEncoding.h"

#include "web/Utf8.h"

namespace talvane {

namespace {

bool NotOnTheWire(char32_t c) { return c <= 0x20 || c >= 0x7F; }

bool NotInAQueryValue(char32_t c) {
    return c < 0x20 || c == 0x7F ||
           (c < 0x80 && std::u16string_view(u" \"#%&+<=>\\^`{|}").find(static_cast<char16_t>(c)) !=
                            std::u16string_view::npos);
}

// The one percent-encoder: each character `escape` picks becomes the
// escapes of its UTF-8 bytes; the others are copied unit for unit.
template <typename Text>
Text PercentEncoded(std::u16string_view text, bool (*escape)(char32_t)) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    Text out;
    out.reserve(text.size());
    std::string bytes;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t c = NextCodePoint(text, i);
        if (!escape(c)) {
            for (std::size_t k = start; k < i; ++k) {
                out.push_back(static_cast<typename Text::value_type>(text[k]));
            }
            continue;
        }
        bytes.clear();
        AppendUtf8(bytes, c);
        for (const char b : bytes) {
            const auto byte = static_cast<unsigned char>(b);
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        }
    }
    return out;
}

}  // namespace

std::string WireUrl(std::u16string_view url) {
    // Every unit that stays is printable ASCII, so it fits a char.
    return PercentEncoded<std::string>(url, NotOnTheWire);
}

std::u16string EscapeQueryValue(std::u16string_view value) {
    return PercentEncoded<std::u16string>(value, NotInAQueryValue);
}

}  // namespace talvane
