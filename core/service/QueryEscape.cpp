#include "service/QueryEscape.h"

#include <string>

#include "platform/Utf16.h"

namespace talvane {

namespace {

constexpr char16_t kHex[] = u"0123456789ABCDEF";

void AppendEscape(std::u16string& out, unsigned byte) {
    out.push_back(u'%');
    out.push_back(kHex[(byte >> 4) & 0x0F]);
    out.push_back(kHex[byte & 0x0F]);
}

bool IsUnreserved(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

// The code points of UTF-16 text; an unpaired surrogate reads as U+FFFD.
template <typename Visit>
void ForEachCodePoint(std::u16string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (IsSurrogatePairAt(text, i)) {
            visit(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            visit(0xFFFD);
        } else {
            visit(unit);
        }
    }
}

}  // namespace

std::u16string EscapeEventId(std::u16string_view id) {
    std::u16string escaped;
    escaped.reserve(id.size());
    for (const char16_t c : id) {
        if (c == u'&' || c == u'#' || c == u'=' || c == u'+' || c == u'%' || c == u' ') {
            AppendEscape(escaped, c);
        } else {
            escaped.push_back(c);
        }
    }
    return escaped;
}

std::u16string EscapeQueryValue(std::u16string_view value) {
    std::u16string escaped;
    ForEachCodePoint(value, [&escaped](char32_t cp) {
        if (cp < 0x80 && IsUnreserved(static_cast<char16_t>(cp))) {
            escaped.push_back(static_cast<char16_t>(cp));
        } else if (cp < 0x80) {
            AppendEscape(escaped, cp);
        } else if (cp < 0x800) {
            AppendEscape(escaped, 0xC0 | (cp >> 6));
            AppendEscape(escaped, 0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            AppendEscape(escaped, 0xE0 | (cp >> 12));
            AppendEscape(escaped, 0x80 | ((cp >> 6) & 0x3F));
            AppendEscape(escaped, 0x80 | (cp & 0x3F));
        } else {
            AppendEscape(escaped, 0xF0 | (cp >> 18));
            AppendEscape(escaped, 0x80 | ((cp >> 12) & 0x3F));
            AppendEscape(escaped, 0x80 | ((cp >> 6) & 0x3F));
            AppendEscape(escaped, 0x80 | (cp & 0x3F));
        }
    });
    return escaped;
}

}  // namespace talvane
