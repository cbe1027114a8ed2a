#pragma once

#include <windows.h>

#include <array>
#include <string_view>

#include "card/CardMeasure.h"
#include "support/win32/GdiOwners.h"

namespace talvane::displaymsg {

// The card's four fonts at one DPI, made once and kept while cards of that
// DPI are on screen: the desktop's message font (Microsoft YaHei UI on a
// Chinese system) in the card's sizes. They measure text for the shared
// layout through a memory DC of their own.
class GdiCardFonts : public card::CardMeasure {
  public:
    explicit GdiCardFonts(int dpi);

    int dpi() const { return dpi_; }
    HFONT font(card::CardFont role) const { return fonts_[static_cast<int>(role)].get(); }
    int width(card::CardFont role, std::u16string_view text) const override;
    card::FontMetrics metrics(card::CardFont role) const override;

  private:
    int dpi_;
    win::UniqueMemoryDc measuring_;
    std::array<win::UniqueFont, 4> fonts_;  // indexed by CardFont
};

}  // namespace talvane::displaymsg
