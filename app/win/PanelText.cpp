#include "app/win/PanelText.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/LineBreak.h"

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

// Each character in the first font that has it, with its advance, found
// once per character: the shared rule measures prefixes again and again.
class GlyphMeasure : public text::TextMeasure {
  public:
    struct Glyph {
        HFONT font;
        int width;
    };

    GlyphMeasure(HDC dc, HFONT primary, HFONT fallback)
        : dc_(dc), primary_(primary), fallback_(fallback) {}

    const Glyph& glyph(char16_t c) const {
        const auto known = glyphs_.find(c);
        if (known != glyphs_.end()) return known->second;
        const auto wc = static_cast<wchar_t>(c);
        const HFONT font = c < 0x80 || hasGlyph(dc_, primary_, wc) ? primary_ : fallback_;
        const HGDIOBJ old = SelectObject(dc_, font);
        SIZE size{};
        GetTextExtentPoint32W(dc_, &wc, 1, &size);
        SelectObject(dc_, old);
        return glyphs_.emplace(c, Glyph{font, static_cast<int>(size.cx)}).first->second;
    }

    int width(std::u16string_view text) const override {
        int total = 0;
        for (char16_t c : text) total += glyph(c).width;
        return total;
    }

  private:
    HDC dc_;
    HFONT primary_;
    HFONT fallback_;
    mutable std::unordered_map<char16_t, Glyph> glyphs_;
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
    if (lineHeight <= 0) return;
    const GlyphMeasure glyphs(dc, primary, fallback);
    // The lines that reach into the box; the last one may be cut by it.
    const std::size_t lineCount = static_cast<std::size_t>(
        std::max(0L, (box.bottom - box.top + lineHeight - 1) / lineHeight));
    const std::vector<std::u16string> lines =
        text::breakLines(text, glyphs, width, lineCount, text::Overflow::Cut);

    const int saved = SaveDC(dc);
    IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);

    int y = box.top;
    for (const std::u16string& line : lines) {
        // Runs of one font in one call each.
        int penX = box.left;
        for (std::size_t i = 0; i < line.size();) {
            std::wstring run;
            int runWidth = 0;
            const HFONT font = glyphs.glyph(line[i]).font;
            for (; i < line.size() && glyphs.glyph(line[i]).font == font; ++i) {
                run += static_cast<wchar_t>(line[i]);
                runWidth += glyphs.glyph(line[i]).width;
            }
            SelectObject(dc, font);
            ExtTextOutW(dc, penX, y + ascent, 0, nullptr, run.c_str(),
                        static_cast<UINT>(run.size()), nullptr);
            penX += runWidth;
        }
        y += lineHeight;
    }
    RestoreDC(dc, saved);
}

}  // namespace talvane
