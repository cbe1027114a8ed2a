#include "components/displaymsg-win/GdiCardFonts.h"

namespace talvane::displaymsg {

namespace {

HFONT cardFont(const LOGFONTW& message, int pixels, bool bold, int dpi) {
    LOGFONTW font = message;
    font.lfHeight = -MulDiv(pixels, dpi, 96);
    font.lfWidth = 0;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfQuality = CLEARTYPE_QUALITY;
    return CreateFontIndirectW(&font);
}

}  // namespace

GdiCardFonts::GdiCardFonts(int dpi) : dpi_(dpi), measuring_(CreateCompatibleDC(nullptr)) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    const LOGFONTW& message = metrics.lfMessageFont;
    fonts_[static_cast<int>(card::CardFont::Heading)].reset(cardFont(message, 13, true, dpi));
    fonts_[static_cast<int>(card::CardFont::Title)].reset(cardFont(message, 16, true, dpi));
    fonts_[static_cast<int>(card::CardFont::Text)].reset(cardFont(message, 13, false, dpi));
    fonts_[static_cast<int>(card::CardFont::Small)].reset(cardFont(message, 12, false, dpi));
}

int GdiCardFonts::width(card::CardFont role, std::u16string_view text) const {
    const win::SelectedObject selected(measuring_.get(), font(role));
    SIZE size = {};
    GetTextExtentPoint32W(measuring_.get(), reinterpret_cast<const wchar_t*>(text.data()),
                          int(text.size()), &size);
    return size.cx;
}

card::FontMetrics GdiCardFonts::metrics(card::CardFont role) const {
    const win::SelectedObject selected(measuring_.get(), font(role));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(measuring_.get(), &metrics);
    return {metrics.tmAscent, metrics.tmHeight, metrics.tmHeight + metrics.tmExternalLeading};
}

}  // namespace talvane::displaymsg
