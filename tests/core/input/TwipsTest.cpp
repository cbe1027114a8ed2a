#include <gtest/gtest.h>

#include "input/Twips.h"

namespace talvane {
namespace {

TEST(Twips, PixelsAndTwipsAtTheCommonScreenDensities) {
    struct Row {
        int dpi;
        float twipsPerPixel;
        float pixelsOfRegionWidth;  // the panel's 3845-twip visible width
        int wholePixelsOfTopEdge;   // its 80-twip top edge
    };
    const Row rows[] = {
        {96, 15.0f, 256.3333f, 5},
        {120, 12.0f, 320.4167f, 7},
        {144, 10.0f, 384.5f, 8},
        {192, 7.5f, 512.6667f, 11},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.dpi);
        const float tpp = TwipsPerPixel(r.dpi);
        EXPECT_EQ(tpp, r.twipsPerPixel);
        EXPECT_NEAR(ToPixels(3845, tpp), r.pixelsOfRegionWidth, 1e-3);
        EXPECT_EQ(ToWholePixels(80, tpp), r.wholePixelsOfTopEdge);
        for (int px : {0, 1, 7, 250, 661, -3}) {
            EXPECT_EQ(ToWholePixels(ToTwips(static_cast<float>(px), tpp), tpp), px);
        }
        // A row's band (1800 to 3300 twips) and a box that covers it whole.
        const PixelBox band = CoveringPixels({0, 1800, 3750, 1500}, tpp);
        EXPECT_LE(ToTwips(static_cast<float>(band.top), tpp), 1800);
        EXPECT_GE(ToTwips(static_cast<float>(band.bottom), tpp), 3300);
        EXPECT_LT(ToTwips(static_cast<float>(band.bottom - 1), tpp), 3300);
        const TwipRect back = TwipsOfPixels(band, tpp, tpp);
        EXPECT_EQ(CoveringPixels(back, tpp), band);
    }
    // 7.5 twips per pixel: 1804 twips lie inside pixel 240, which the box
    // must include; 144 dpi: 384.5 pixels round away from zero.
    EXPECT_EQ(CoveringPixels({0, 1804, 15, 15}, 7.5f), (PixelBox{0, 240, 2, 243}));
    EXPECT_EQ(ToWholePixels(3845, 10.0f), 385);
    EXPECT_EQ(TwipsPerPixel(0), 15.0f);  // no density known: the 96-dpi ratio
}

}  // namespace
}  // namespace talvane
