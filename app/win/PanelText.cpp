#include "app/win/PanelText.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace talvane {
namespace {

// The UI face when it covers Chinese, else the first Chinese face the
// system has (under Wine, what fontconfig offers).
constexpr const wchar_t* kChineseFaces[] = {L"Microsoft YaHei UI", L"Microsoft YaHei",
                                            L"Noto Sans CJK SC", L"WenQuanYi Micro Hei", L"SimSun"};

bool hasGlyph(HDC dc, HFONT font, wchar_t c) {
    const HGDIOBJ old = SelectObject(dc, font);
    WORD index = 0xffff;
    GetGlyphIndicesW(dc, &c, 1, &index, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    return index != 0xffff;
}

bool isFace(HDC dc, HFONT font, const wchar_t* face) {
    const HGDIOBJ old = SelectObject(dc, font);
    wchar_t actual[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, actual);
    SelectObject(dc, old);
    return lstrcmpiW(actual, face) == 0;
}

// The UI face at the given height and weight.
HFONT uiFont(HDC dc, UINT dpi, LONG height, LONG weight) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    LOGFONTW lf = metrics.lfMessageFont;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfQuality = DEFAULT_QUALITY;
    HFONT font = CreateFontIndirectW(&lf);
    if (hasGlyph(dc, font, L'\x4e2d')) return font;
    for (const wchar_t* face : kChineseFaces) {
        lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
        lf.lfCharSet = DEFAULT_CHARSET;
        const HFONT candidate = CreateFontIndirectW(&lf);
        if (isFace(dc, candidate, face) && hasGlyph(dc, candidate, L'\x4e2d')) {
            DeleteObject(font);
            return candidate;
        }
        DeleteObject(candidate);
    }
    return font;
}

LONG arial9Height(UINT dpi) { return -MulDiv(9, static_cast<int>(dpi), 72); }
// 8.5 pt, as on Linux: the longest time line then fits its label.
LONG defaultHeight(UINT dpi) { return -MulDiv(17, static_cast<int>(dpi), 144); }

HFONT arial9(UINT dpi, bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = arial9Height(dpi);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

bool isWide(char16_t c) { return (c >= 0x2e80 && c < 0xfe70) || (c >= 0xff00 && c < 0xffef); }

// Kept on the line before them (closing punctuation) or after them (opening).
bool noBreakBefore(char16_t c) {
    return std::u16string_view(u"，。、：；！？）》」』,.:;!?)").find(c) !=
           std::u16string_view::npos;
}
bool noBreakAfter(char16_t c) {
    return std::u16string_view(u"（《「『(").find(c) != std::u16string_view::npos;
}

// A line may break before position i.
bool breakBefore(const std::u16string& text, size_t i) {
    const char16_t prev = text[i - 1];
    const char16_t next = text[i];
    if (noBreakBefore(next) || noBreakAfter(prev)) return false;
    return prev == u' ' || isWide(prev) || isWide(next);
}

struct Glyph {
    char16_t c;
    HFONT font;
    int width;
};

}  // namespace

PanelText::~PanelText() { release(); }

void PanelText::release() {
    for (HFONT& f : fonts_) {
        if (f != nullptr) DeleteObject(f);
        f = nullptr;
    }
    for (HFONT& f : fallbacks_) {
        if (f != nullptr) DeleteObject(f);
        f = nullptr;
    }
}

void PanelText::prepare(HDC dc, UINT dpi) {
    if (dpi == dpi_) return;
    release();
    dpi_ = dpi;
    const auto set = [&](FontRole role, HFONT font, HFONT fallback) {
        fonts_[static_cast<int>(role)] = font;
        fallbacks_[static_cast<int>(role)] = fallback;
    };
    set(FontRole::Default, uiFont(dc, dpi, defaultHeight(dpi), FW_NORMAL),
        uiFont(dc, dpi, defaultHeight(dpi), FW_NORMAL));
    set(FontRole::Arial9, arial9(dpi, false), uiFont(dc, dpi, arial9Height(dpi), FW_NORMAL));
    set(FontRole::Arial9Bold, arial9(dpi, true), uiFont(dc, dpi, arial9Height(dpi), FW_BOLD));
}

void PanelText::draw(HDC dc, const std::u16string& text, FontRole role, COLORREF colour,
                     const RECT& box) const {
    const HFONT primary = fonts_[static_cast<int>(role)];
    const HFONT fallback = fallbacks_[static_cast<int>(role)];
    const int width = box.right - box.left;

    // Each character in the first font that has it, with its advance.
    std::vector<Glyph> glyphs;
    glyphs.reserve(text.size());
    int lineHeight = 0;
    int ascent = 0;
    for (HFONT font : {primary, fallback}) {
        const HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        lineHeight = std::max(lineHeight, static_cast<int>(tm.tmHeight + tm.tmExternalLeading));
        ascent = std::max(ascent, static_cast<int>(tm.tmAscent));
        SelectObject(dc, old);
    }
    for (char16_t c : text) {
        const HFONT font =
            c < 0x80 || hasGlyph(dc, primary, static_cast<wchar_t>(c)) ? primary : fallback;
        const HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        const auto wc = static_cast<wchar_t>(c);
        GetTextExtentPoint32W(dc, &wc, 1, &size);
        SelectObject(dc, old);
        glyphs.push_back({c, font, static_cast<int>(size.cx)});
    }

    const int saved = SaveDC(dc);
    IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);

    // Greedy wrapping: a line ends at the last break opportunity that fits,
    // or mid-word when a single word is wider than the label.
    size_t start = 0;
    int y = box.top;
    while (start < glyphs.size() && y < box.bottom) {
        size_t end = start;
        size_t lastBreak = 0;
        int x = 0;
        bool hardBreak = false;
        while (end < glyphs.size()) {
            if (glyphs[end].c == u'\n') {
                hardBreak = true;
                break;
            }
            if (end > start && breakBefore(text, end)) lastBreak = end;
            if (x + glyphs[end].width > width && end > start) break;
            x += glyphs[end].width;
            ++end;
        }
        if (!hardBreak && end < glyphs.size() && lastBreak > start) end = lastBreak;

        // Runs of one font in one call each.
        int penX = box.left;
        for (size_t i = start; i < end;) {
            std::wstring run;
            int runWidth = 0;
            const HFONT font = glyphs[i].font;
            for (; i < end && glyphs[i].font == font; ++i) {
                if (glyphs[i].c == u'\r') continue;
                run += static_cast<wchar_t>(glyphs[i].c);
                runWidth += glyphs[i].width;
            }
            SelectObject(dc, font);
            ExtTextOutW(dc, penX, y + ascent, 0, nullptr, run.c_str(),
                        static_cast<UINT>(run.size()), nullptr);
            penX += runWidth;
        }
        start = end;
        if (hardBreak) ++start;
        while (!hardBreak && start < glyphs.size() && glyphs[start].c == u' ') ++start;
        y += lineHeight;
    }
    RestoreDC(dc, saved);
}

}  // namespace talvane
