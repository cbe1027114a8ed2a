#pragma once

#include <windows.h>

#include <optional>

#include "card/CardLayout.h"
#include "components/displaymsg-win/GdiCardFonts.h"
#include "support/win32/GdiOwners.h"

namespace talvane::displaymsg {

// A card drawn once, when it appears: the card without its progress bar, and
// the bottom strip with the whole bar. A repaint copies from the two, so the
// countdown costs two copies and no drawing.
class CardPicture {
  public:
    CardPicture(const card::CardLayout& layout, const GdiCardFonts& fonts);
    CardPicture(const CardPicture&) = delete;
    CardPicture& operator=(const CardPicture&) = delete;

    // The part of the card inside area, its bar barWidth wide, onto target.
    void paint(HDC target, const RECT& area, int barWidth) const;

  private:
    // A memory DC with a bitmap of its own selected, taken out again before
    // either goes.
    struct Surface {
        win::UniqueMemoryDc dc;
        win::UniqueBitmap bitmap;
        std::optional<win::SelectedObject> selected;
        void make(HDC like, int width, int height);
        bool ready() const { return selected.has_value(); }
    };

    const card::CardLayout& layout_;
    Surface card_;  // without the bar
    Surface bar_;   // the progress strip, bar full
};

}  // namespace talvane::displaymsg
