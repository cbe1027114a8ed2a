#pragma once

#include <windows.h>

#include "app/Element.h"

namespace talvane {

class PanelText;

// The colours the Win32 panel draws with. The labels' roles take the
// system's colours the design names (button text; window text on window
// background); the footer keeps the artwork's white on black. With High
// Contrast on, everything is drawn in the system's colours only: the
// pictures give way to flat fills and frames, links take the system's link
// colour.
class PanelColours {
  public:
    // Reads the High Contrast setting again; after WM_SETTINGCHANGE and
    // WM_SYSCOLORCHANGE. True when it changed.
    bool refresh();

    bool highContrast() const { return highContrast_; }

    // A label's text, and the colour of a role (an opaque label's fill).
    COLORREF text(const Element& label) const;
    COLORREF fill(ColourRole role) const;

    // High Contrast: the background in place of the background picture.
    void drawPlainBackground(HDC dc, const RECT& client) const;
    // High Contrast: what stands for an image element's picture, and for the
    // banner and the caption glyphs the background picture carries.
    void drawPlainImage(HDC dc, const Element& image, const RECT& box, const PanelText& text) const;

  private:
    bool highContrast_ = false;
};

// SPI_GETHIGHCONTRAST, or the flag Windows keeps for it under
// HKCU\Control Panel\Accessibility\HighContrast (the two agree on Windows;
// Wine answers the call with "off" whatever the setting, so the stored flag
// is what a check under Wine sets).
bool SystemHighContrast();

}  // namespace talvane
