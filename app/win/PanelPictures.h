#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "app/EdgeSlices.h"
#include "app/Element.h"
#include "support/win32/GdiOwners.h"

namespace talvane {

// A premultiplied 32-bit picture ready for GdiAlphaBlend.
struct PanelBitmap {
    win::UniqueBitmap bitmap;
    int width = 0;  // device pixels
    int height = 0;
};

// The panel's pictures, decoded from the PNG resources of the scale that
// suits the window's DPI (100, 150 or 200 %) and brought to the DPI's own
// size once, when decoded.
class PanelPictures {
  public:
    PanelPictures() = default;
    PanelPictures(const PanelPictures&) = delete;
    PanelPictures& operator=(const PanelPictures&) = delete;

    // Decodes the pictures again when the DPI changes.
    void prepare(UINT dpi);

    const PanelBitmap& background() const { return background_; }
    const PanelBitmap& picture(Picture which) const { return pictures_[static_cast<int>(which)]; }

  private:
    UINT dpi_ = 0;
    PanelBitmap background_;
    std::array<PanelBitmap, 7> pictures_{};  // indexed by Picture
};

// The percentage of the shipped pictures closest to dpi.
int PictureScaleFor(UINT dpi);

// Draws bitmap with its alpha at (x, y), stretched to width x height device
// pixels (the pictures come at their size for the DPI: draw them at it).
void DrawPicture(HDC dc, const PanelBitmap& bitmap, int x, int y, int width, int height);

// Draws every (column, row) pair of slices of bitmap with its alpha.
void DrawPictureSlices(HDC dc, const PanelBitmap& bitmap, std::span<const Slice> columns,
                       std::span<const Slice> rows);

// The background drawn at drawn size and carried on to the window's right
// and bottom edges (EdgeSlices).
void DrawBackgroundToEdges(HDC dc, const PanelBitmap& bitmap, SIZE drawn, SIZE window);

}  // namespace talvane
