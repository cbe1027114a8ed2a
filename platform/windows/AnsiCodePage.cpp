#include "platform/windows/AnsiCodePage.h"

#include <windows.h>

namespace talvane {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// Strict conversion of one piece; nothing when the code page rejects it.
bool decodeStrict(UINT codePage, std::string_view bytes, std::u16string& out) {
    const int size = static_cast<int>(bytes.size());
    const int needed =
        ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (needed <= 0) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(needed));
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size,
                          reinterpret_cast<wchar_t*>(out.data() + at), needed);
    return true;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

AnsiCodePage::AnsiCodePage(unsigned codePage) : codePage_(codePage ? codePage : ::GetACP()) {}

std::u16string AnsiCodePage::toUnicode(std::string_view bytes) const {
    std::u16string text;
    text.reserve(bytes.size());
    // Whole pages are nearly always valid: one call for them.
    if (bytes.empty() || decodeStrict(codePage_, bytes, text)) return text;

    // Left to itself the system would turn a bad byte into the code page's
    // default character, or drop it: character by character instead, so
    // that each bad byte costs exactly one U+FFFD and the next byte starts
    // afresh (a lead byte followed by something that is no trail byte
    // included).
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<BYTE>(bytes[i]);
        if (byte < 0x80) {
            text.push_back(static_cast<char16_t>(byte));
            ++i;
            continue;
        }
        const std::size_t length = ::IsDBCSLeadByteEx(codePage_, byte) ? 2 : 1;
        if (i + length <= bytes.size() && decodeStrict(codePage_, bytes.substr(i, length), text)) {
            i += length;
        } else {
            text.push_back(kReplacement);
            ++i;
        }
    }
    return text;
}

std::string AnsiCodePage::fromUnicode(std::u16string_view text) const {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    // One character (a surrogate pair counts as one) at a time only when the
    // whole text has something the code page lacks: the system would
    // otherwise pick "best fit" look-alikes, or give a pair two '?'.
    const auto encode = [this](std::u16string_view piece, std::string& out) {
        const auto* wide = reinterpret_cast<const wchar_t*>(piece.data());
        const int size = static_cast<int>(piece.size());
        // UTF-8 as the ANSI code page (a user's opt-in) can spell every
        // character and takes neither flag.
        const bool utf8 = codePage_ == CP_UTF8;
        const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
        BOOL lossy = FALSE;
        const int needed = ::WideCharToMultiByte(codePage_, flags, wide, size, nullptr, 0, nullptr,
                                                 utf8 ? nullptr : &lossy);
        if (needed <= 0 || lossy) return false;
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(needed));
        ::WideCharToMultiByte(codePage_, flags, wide, size, out.data() + at, needed, nullptr,
                              nullptr);
        return true;
    };
    if (text.empty() || encode(text, bytes)) return bytes;

    bytes.clear();
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length =
            isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]) ? 2 : 1;
        if (!encode(text.substr(i, length), bytes)) bytes.push_back('?');
        i += length;
    }
    return bytes;
}

}  // namespace talvane
