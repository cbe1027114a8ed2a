#include "app/win/PanelColours.h"

#include "app/AccessibleElements.h"
#include "app/win/PanelText.h"
#include "app/win/art/ArtColours.h"

namespace talvane {

namespace {

void fillWith(HDC dc, const RECT& box, int systemColour) {
    FillRect(dc, &box, GetSysColorBrush(systemColour));
}

void frameWith(HDC dc, const RECT& box, int systemColour) {
    FrameRect(dc, &box, GetSysColorBrush(systemColour));
}

}  // namespace

bool SystemHighContrast() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
        (setting.dwFlags & HCF_HIGHCONTRASTON) != 0) {
        return true;
    }
    wchar_t flags[16] = L"";
    DWORD size = sizeof flags;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", L"Flags",
                     RRF_RT_REG_SZ, nullptr, flags, &size) != ERROR_SUCCESS) {
        return false;
    }
    return (wcstoul(flags, nullptr, 10) & HCF_HIGHCONTRASTON) != 0;
}

bool PanelColours::refresh() {
    const bool now = SystemHighContrast();
    const bool changed = now != highContrast_;
    highContrast_ = now;
    return changed;
}

COLORREF PanelColours::text(const Element& label) const {
    if (highContrast_) {
        return GetSysColor(label.pointer == PointerShape::Hand ? COLOR_HOTLIGHT : COLOR_WINDOWTEXT);
    }
    switch (label.textColour) {
        case ColourRole::ButtonText:
            return GetSysColor(COLOR_BTNTEXT);
        case ColourRole::WindowText:
            return GetSysColor(COLOR_WINDOWTEXT);
        case ColourRole::WindowBackground:
            return GetSysColor(COLOR_WINDOW);
        case ColourRole::White:
            return artcolour::kFooterText;
        case ColourRole::Black:
            return artcolour::kFooterShadow;
    }
    return GetSysColor(COLOR_WINDOWTEXT);
}

COLORREF PanelColours::fill(ColourRole role) const {
    if (highContrast_) return GetSysColor(COLOR_WINDOW);
    switch (role) {
        case ColourRole::ButtonText:
            return GetSysColor(COLOR_BTNTEXT);
        case ColourRole::WindowText:
            return GetSysColor(COLOR_WINDOWTEXT);
        case ColourRole::WindowBackground:
            return GetSysColor(COLOR_WINDOW);
        case ColourRole::White:
            return artcolour::kFooterText;
        case ColourRole::Black:
            return artcolour::kFooterShadow;
    }
    return GetSysColor(COLOR_WINDOW);
}

void PanelColours::drawPlainBackground(HDC dc, const RECT& client) const {
    fillWith(dc, client, COLOR_WINDOW);
    frameWith(dc, client, COLOR_WINDOWTEXT);
}

void PanelColours::drawPlainImage(HDC dc, const Element& image, const RECT& box,
                                  const PanelText& text) const {
    const COLORREF link = GetSysColor(COLOR_HOTLIGHT);
    switch (image.id.name) {
        case ElementName::Image1:
            frameWith(dc, box, COLOR_HOTLIGHT);
            text.draw(dc, kBannerName, FontRole::Arial9Bold, link, box);
            return;
        case ElementName::imgMini:
            text.draw(dc, u" —", FontRole::Arial9Bold, link, box);
            return;
        case ElementName::imgClose:
            text.draw(dc, u" ×", FontRole::Arial9Bold, link, box);
            return;
        default:
            break;
    }
    switch (image.picture) {
        case Picture::RowHighlight:
            // A frame, not a fill: the row's text keeps its colours on it.
            for (int i = 0; i < 2; ++i) {
                const RECT ring{box.left + i, box.top + i, box.right - i, box.bottom - i};
                frameWith(dc, ring, COLOR_HIGHLIGHT);
            }
            return;
        case Picture::BalloonTipTop:
        case Picture::BalloonTipBottom:
            fillWith(dc, box, COLOR_WINDOW);
            frameWith(dc, box, COLOR_WINDOWTEXT);
            return;
        case Picture::NewBadge:
            text.draw(dc, kNewBadgeName, FontRole::Default, GetSysColor(COLOR_WINDOWTEXT), box);
            return;
        case Picture::ArrowRed:
        case Picture::ArrowBlue:
            text.draw(dc, u"›", FontRole::Arial9Bold,
                      GetSysColor(image.picture == Picture::ArrowBlue ? COLOR_HIGHLIGHT
                                                                      : COLOR_WINDOWTEXT),
                      box);
            return;
        case Picture::None:
            return;
    }
}

}  // namespace talvane
