#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "app/Element.h"

namespace talvane {

// The labels' fonts at the window's DPI: the system's UI face for the
// default font (Microsoft YaHei UI on a Chinese system), Arial 9 pt for the
// others. Characters Arial lacks (Chinese, full-width punctuation) are drawn
// in the UI face, as font linking would on a Chinese system.
class PanelText {
  public:
    PanelText() = default;
    ~PanelText();
    PanelText(const PanelText&) = delete;
    PanelText& operator=(const PanelText&) = delete;

    // Creates the fonts again when the DPI changes.
    void prepare(HDC dc, UINT dpi);

    // Draws text left-aligned from the top-left corner of box, wrapped at its
    // width and cut at its bottom, with a transparent background.
    void draw(HDC dc, const std::u16string& text, FontRole role, COLORREF colour,
              const RECT& box) const;

  private:
    void release();

    UINT dpi_ = 0;
    std::array<HFONT, 3> fonts_{};      // indexed by FontRole
    std::array<HFONT, 3> fallbacks_{};  // the UI face in the role's size, for what a font lacks
};

}  // namespace talvane
