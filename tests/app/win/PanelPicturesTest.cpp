// The panel's pictures decoded by WIC under Wine: at a shipped scale as they
// are, between two scales brought once to the DPI's own size.
#include <gtest/gtest.h>

#include "app/win/PanelPictures.h"

namespace talvane {
namespace {

// Premultiplied BGRA of one pixel.
DWORD PixelAt(const PanelBitmap& picture, int x, int y) {
    DIBSECTION section{};
    if (GetObjectW(picture.bitmap.get(), sizeof section, &section) != sizeof section) return 0;
    const auto* row = static_cast<const BYTE*>(section.dsBm.bmBits) + y * section.dsBm.bmWidthBytes;
    return reinterpret_cast<const DWORD*>(row)[x];
}

TEST(PanelPictures, BackgroundComesAtTheDpisOwnSize_CornersClearAndRowsOpaque) {
    struct Case {
        UINT dpi;
        int width;
        int height;
    };
    // 250 x 660 logical pixels; 120 and 168 dpi lie below a shipped scale.
    for (const Case& c : {Case{96, 250, 660}, Case{120, 313, 825}, Case{144, 375, 990},
                          Case{168, 438, 1155}, Case{192, 500, 1320}}) {
        PanelPictures pictures;
        pictures.prepare(c.dpi);
        const PanelBitmap& background = pictures.background();
        ASSERT_TRUE(background.bitmap) << c.dpi;
        EXPECT_EQ(background.width, c.width) << c.dpi;
        EXPECT_EQ(background.height, c.height) << c.dpi;
        EXPECT_EQ(PixelAt(background, 0, 0) >> 24, 0u) << c.dpi << ": the rounded corner";
        EXPECT_EQ(PixelAt(background, c.width / 2, c.height / 2) >> 24, 0xFFu) << c.dpi;
    }
}

}  // namespace
}  // namespace talvane
