#include <gtest/gtest.h>

#include <algorithm>

#include "app/EdgeSlices.h"

namespace talvane {
namespace {

TEST(EdgeSlices, CarryThePictureToTheWindowsEdge_KeepingEverythingBeforeTheBandInPlace) {
    struct Case {
        int band, source, drawn, window;
    };
    const Case cases[] = {
        {12, 375, 375, 379},   // 150 %: the window is 4 pixels wider than the art
        {22, 990, 990, 1006},  // and 16 rows taller
        {8, 250, 250, 251},    // 100 %
        {8, 250, 250, 250},    // no gap: the middle slice is empty
        {8, 250, 313, 315},    // 125 % from the 100 % picture, stretched
        {400, 250, 250, 260},  // a band wider than the picture is cut to it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " -> " << c.window);
        const auto slices = EdgeSlices(c.band, c.source, c.drawn, c.window);
        EXPECT_EQ(slices[0].from, 0);
        EXPECT_EQ(slices[0].at, 0);
        int source = 0, at = 0;
        for (const Slice& s : slices) {
            if (&s != &slices[1]) {  // the stretched pixel repeats the one before the band
                EXPECT_EQ(s.from, source);
                source += s.count;
            }
            EXPECT_EQ(s.at, at);
            EXPECT_GE(s.length, 0);
            at += s.length;
        }
        EXPECT_EQ(source, c.source) << "every source pixel drawn once";
        EXPECT_EQ(at, std::max(c.window, c.drawn)) << "the art reaches the window's edge";
        EXPECT_EQ(slices[1].from, slices[2].from - 1);
        // The body keeps the drawn scale: an element placed in twips stays on it.
        EXPECT_NEAR(slices[0].length, double(slices[0].count) * c.drawn / c.source, 1.0);
    }
}

}  // namespace
}  // namespace talvane
