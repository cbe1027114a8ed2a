#include "components/displaymsg-win/TextLines.h"

namespace talvane::displaymsg {

namespace {

constexpr wchar_t kEllipsis[] = L"\u2026";

int textWidth(HDC dc, const wchar_t* text, int length) {
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, length, &size);
    return size.cx;
}

// How many units of text fit into width, never splitting a surrogate pair.
int fitting(HDC dc, const wchar_t* text, int length, int width) {
    int fit = 0;
    SIZE size = {};
    if (!GetTextExtentExPointW(dc, text, length, width, &fit, nullptr, &size)) return 0;
    if (fit > 0 && fit < length && IS_HIGH_SURROGATE(text[fit - 1])) --fit;
    return fit;
}

}  // namespace

std::vector<std::wstring> wrapLines(HDC dc, const std::wstring& text, int width, int maxLines) {
    std::vector<std::wstring> lines;
    if (width <= 0) return lines;
    std::size_t start = 0;
    while (start < text.size() && int(lines.size()) < maxLines) {
        while (start < text.size() && text[start] == L' ') ++start;
        if (start == text.size()) break;
        const wchar_t* rest = text.c_str() + start;
        const int restLength = int(text.size() - start);
        int fit = fitting(dc, rest, restLength, width);
        if (fit >= restLength) {
            lines.emplace_back(rest, restLength);
            break;
        }
        if (int(lines.size()) == maxLines - 1) {
            const int room = width - textWidth(dc, kEllipsis, 1);
            const int kept = fitting(dc, rest, restLength, room);
            std::wstring last(rest, kept);
            while (!last.empty() && last.back() == L' ') last.pop_back();
            lines.push_back(last + kEllipsis);
            break;
        }
        if (fit == 0) fit = IS_HIGH_SURROGATE(rest[0]) && restLength > 1 ? 2 : 1;
        int cut = fit;
        if (rest[fit] != L' ') {
            int space = fit;
            while (space > 0 && rest[space - 1] != L' ') --space;
            if (space > 0) cut = space;
        }
        std::wstring line(rest, cut);
        while (!line.empty() && line.back() == L' ') line.pop_back();
        lines.push_back(line);
        start += cut;
    }
    return lines;
}

}  // namespace talvane::displaymsg
