#pragma once

#include <windows.h>

#include "card/CardLayout.h"
#include "components/displaymsg-win/GdiCardFonts.h"

namespace talvane::displaymsg {

// A card drawn once, when it appears: the card without its progress bar, and
// the bottom strip with the whole bar. A repaint copies from the two, so the
// countdown costs two copies and no drawing.
class CardPicture {
  public:
    CardPicture(const card::CardLayout& layout, const GdiCardFonts& fonts);
    ~CardPicture();
    CardPicture(const CardPicture&) = delete;
    CardPicture& operator=(const CardPicture&) = delete;

    // The part of the card inside area, its bar barWidth wide, onto target.
    void paint(HDC target, const RECT& area, int barWidth) const;

  private:
    struct Surface {
        HDC dc = nullptr;
        HBITMAP bitmap = nullptr;
        HGDIOBJ old = nullptr;
    };
    static Surface makeSurface(HDC like, int width, int height);
    static void release(Surface& surface);

    const card::CardLayout& layout_;
    Surface card_;  // without the bar
    Surface bar_;   // the progress strip, bar full
};

}  // namespace talvane::displaymsg
