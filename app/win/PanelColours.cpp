#include "app/win/PanelColours.h"

#include <algorithm>

#include "app/PlainLook.h"
#include "app/win/PanelText.h"
#include "app/win/art/ArtColours.h"
#include "support/win32/GdiOwners.h"

namespace talvane {

namespace {

int systemColour(SystemColour colour) {
    switch (colour) {
        case SystemColour::Window:
            return COLOR_WINDOW;
        case SystemColour::WindowText:
            return COLOR_WINDOWTEXT;
        case SystemColour::Link:
            return COLOR_HOTLIGHT;
        case SystemColour::Highlight:
            return COLOR_HIGHLIGHT;
    }
    return COLOR_WINDOWTEXT;
}

void fillWith(HDC dc, const RECT& box, int systemColour) {
    FillRect(dc, &box, GetSysColorBrush(systemColour));
}

void frameWith(HDC dc, const RECT& box, int systemColour) {
    FrameRect(dc, &box, GetSysColorBrush(systemColour));
}

// A badge's box is smaller than a label's line: its word gets a font of its
// own, as tall as the box allows.
void drawBadgeText(HDC dc, const std::u16string& text, COLORREF colour, const RECT& box) {
    LOGFONTW look{};
    look.lfHeight = -std::max(6L, box.bottom - box.top - 3);
    look.lfWeight = FW_BOLD;
    look.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(look.lfFaceName, L"Arial", LF_FACESIZE);
    const win::UniqueFont font(CreateFontIndirectW(&look));
    if (!font) return;
    const win::SelectedObject chosen(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT area = box;
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
              &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
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
        return GetSysColor(systemColour(PlainTextColour(label).value_or(SystemColour::Window)));
    }
    return fill(label.textColour);
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
    const PlainPart part = PlainStandIn(image);
    const int colour = systemColour(part.colour);
    switch (part.kind) {
        case PlainPart::Kind::None:
            return;
        case PlainPart::Kind::Text:
            break;
        case PlainPart::Kind::Frame:
            // Two pixels: a highlight must be seen at a glance.
            for (int i = 0; i < 2; ++i) {
                frameWith(dc, {box.left + i, box.top + i, box.right - i, box.bottom - i}, colour);
            }
            break;
        case PlainPart::Kind::Box:
            fillWith(dc, box, COLOR_WINDOW);
            frameWith(dc, box, colour);
            return;
        case PlainPart::Kind::Badge:
            frameWith(dc, box, colour);
            drawBadgeText(dc, part.text, GetSysColor(colour), box);
            return;
    }
    if (!part.text.empty()) text.draw(dc, part.text, FontRole::Default, GetSysColor(colour), box);
}

}  // namespace talvane
