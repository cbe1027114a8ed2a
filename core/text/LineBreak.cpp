#include "text/LineBreak.h"

namespace talvane::text {

namespace {

constexpr std::u16string_view kEllipsis = u"\u2026";

bool isHighSurrogate(char16_t c) { return c >= 0xd800 && c < 0xdc00; }
bool isLowSurrogate(char16_t c) { return c >= 0xdc00 && c < 0xe000; }
bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; }

// CJK scripts, their punctuation and the full-width forms: no blanks
// between words, so a line may break between any two of them.
bool isWide(char16_t c) {
    return (c >= 0x2e80 && c < 0xa4d0) || (c >= 0xac00 && c < 0xd7a4) ||
           (c >= 0xf900 && c < 0xfb00) || (c >= 0xfe30 && c < 0xfe50) ||
           (c >= 0xff00 && c < 0xff61) || (c >= 0xffe0 && c < 0xffe7) ||
           // The supplementary ideographs' high surrogates (planes 2 and 3).
           (c >= 0xd840 && c < 0xd8c0);
}

// Kept on the line before them.
bool isClosing(char16_t c) {
    return std::u16string_view(u"，。、：；！？）》」』】〕〉”’…·,.:;!?)]}%").find(c) !=
           std::u16string_view::npos;
}

// Kept on the line after them.
bool isOpening(char16_t c) {
    return std::u16string_view(u"（《「『【〔〈“‘([{").find(c) != std::u16string_view::npos;
}

// A line may end before text[i] (0 < i < size).
bool mayBreakBefore(std::u16string_view text, std::size_t i) {
    const char16_t before = text[i - 1];
    const char16_t after = text[i];
    if (isLowSurrogate(after) || isClosing(after) || isOpening(before)) return false;
    return isBlank(before) || isWide(before) || isWide(after);
}

// How many units of text, from its start, fit into width: at least one
// character, so that every line makes progress.
std::size_t fitting(std::u16string_view text, const TextMeasure& measure, int width) {
    if (measure.width(text) <= width) return text.size();
    std::size_t low = 0;             // fits
    std::size_t high = text.size();  // does not fit
    while (high - low > 1) {
        const std::size_t middle = low + (high - low) / 2;
        if (measure.width(text.substr(0, middle)) <= width) {
            low = middle;
        } else {
            high = middle;
        }
    }
    if (low > 0 && isHighSurrogate(text[low - 1])) --low;
    if (low == 0) low = text.size() > 1 && isHighSurrogate(text[0]) ? 2 : 1;
    return low;
}

std::u16string withoutTrailingBlanks(std::u16string_view line) {
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    return std::u16string(line);
}

std::u16string withoutCarriageReturns(std::u16string line) {
    std::erase(line, u'\r');
    return line;
}

}  // namespace

std::u16string_view leadingUnits(std::u16string_view text, std::size_t count) {
    if (text.size() <= count) return text;
    if (count > 0 && isHighSurrogate(text[count - 1])) --count;
    return text.substr(0, count);
}

std::u16string elide(std::u16string_view text, const TextMeasure& measure, int width) {
    if (measure.width(text) <= width) return std::u16string(text);
    const int room = width - measure.width(kEllipsis);
    std::size_t kept = room > 0 ? fitting(text, measure, room) : 0;
    if (kept > 0 && measure.width(text.substr(0, kept)) > room) kept = 0;
    return withoutTrailingBlanks(text.substr(0, kept)) + std::u16string(kEllipsis);
}

std::vector<std::u16string> breakLines(std::u16string_view text, const TextMeasure& measure,
                                       int width, std::size_t maxLines, Overflow overflow) {
    std::vector<std::u16string> lines;
    if (width <= 0) return lines;
    std::size_t start = 0;
    while (start < text.size() && lines.size() < maxLines) {
        const std::size_t feed = text.find(u'\n', start);
        const std::size_t paragraphEnd = feed == std::u16string_view::npos ? text.size() : feed;
        const std::u16string_view rest = text.substr(start, paragraphEnd - start);
        const bool last = lines.size() + 1 == maxLines;
        const bool more = paragraphEnd + 1 < text.size() || measure.width(rest) > width;

        if (last && more) {
            if (overflow == Overflow::Ellipsis) {
                // A rest that fits is followed by more lines: the ellipsis
                // says so all the same.
                std::u16string shown = withoutTrailingBlanks(rest);
                if (measure.width(shown) <= width) shown += kEllipsis;
                lines.push_back(withoutCarriageReturns(elide(shown, measure, width)));
            } else {
                lines.push_back(withoutCarriageReturns(
                    withoutTrailingBlanks(rest.substr(0, fitting(rest, measure, width)))));
            }
            break;
        }

        std::size_t end = rest.size();
        if (measure.width(rest) > width) {
            const std::size_t fit = fitting(rest, measure, width);
            end = fit;
            if (fit < rest.size() && !isBlank(rest[fit])) {
                std::size_t candidate = fit;
                while (candidate > 0 && !mayBreakBefore(rest, candidate)) --candidate;
                if (candidate > 0) {
                    end = candidate;
                } else if (end > 1 && isClosing(rest[end]) && !isLowSurrogate(rest[end - 1])) {
                    // A forced break still keeps closing punctuation off the
                    // start of a line.
                    --end;
                }
            }
        }
        lines.push_back(withoutCarriageReturns(withoutTrailingBlanks(rest.substr(0, end))));
        start += end;
        if (start < paragraphEnd) {
            while (start < paragraphEnd && isBlank(text[start])) ++start;
            if (start < paragraphEnd) continue;
        }
        start = paragraphEnd + 1;  // past the line feed (or the end)
    }
    return lines;
}

}  // namespace talvane::text
