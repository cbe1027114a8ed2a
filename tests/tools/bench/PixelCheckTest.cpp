#include <gtest/gtest.h>

#include <vector>

#include "tools/bench/probe/PixelCheck.h"

namespace talvane::bench {
namespace {

ZPixmapView view32(const std::vector<std::uint32_t>& pixels, int width, int height) {
    ZPixmapView v;
    v.data = reinterpret_cast<const std::uint8_t*>(pixels.data());
    v.length = pixels.size() * 4;
    v.width = width;
    v.height = height;
    v.stride = width * 4;
    return v;
}

TEST(PixelCheck, ShowsMoreThanOneColour_IgnoresBitsAboveTheDepth) {
    // A flat window whose undefined alpha byte varies is still one colour.
    const std::vector<std::uint32_t> flat{0x00102030, 0xFF102030, 0x7F102030, 0x00102030};
    EXPECT_FALSE(ShowsMoreThanOneColour(view32(flat, 2, 2)));

    std::vector<std::uint32_t> drawn = flat;
    drawn[3] = 0x00102031;
    EXPECT_TRUE(ShowsMoreThanOneColour(view32(drawn, 2, 2)));

    auto deep = view32(flat, 2, 2);
    deep.depth = 32;
    EXPECT_TRUE(ShowsMoreThanOneColour(deep));
}

TEST(PixelCheck, ShowsMoreThanOneColour_LooksOnlyAtPixelsInsideTheWidth) {
    // 16-bit pixels, 3 wide, rows padded to 8 bytes with garbage.
    const std::vector<std::uint8_t> rows{0x34, 0x12, 0x34, 0x12, 0x34, 0x12, 0xAA, 0xBB,
                                         0x34, 0x12, 0x34, 0x12, 0x34, 0x12, 0xCC, 0xDD};
    ZPixmapView v{rows.data(), rows.size(), 3, 2, 8, 16, 16};
    EXPECT_FALSE(ShowsMoreThanOneColour(v));

    v.length = 15;  // shorter than two rows
    EXPECT_FALSE(ShowsMoreThanOneColour(v));
    v.length = rows.size();
    v.width = 0;
    EXPECT_FALSE(ShowsMoreThanOneColour(v));
}

TEST(PixelCheck, IsForeignWindow_ComparesTheClientsIdentifierBlocks) {
    constexpr std::uint32_t mask = 0x001FFFFF;
    EXPECT_FALSE(IsForeignWindow(0x00A00005, 0x00A00001, mask));
    EXPECT_TRUE(IsForeignWindow(0x00C00005, 0x00A00001, mask));
    EXPECT_TRUE(SameClient(0x00C1FFFF, 0x00C00002, mask));
}

}  // namespace
}  // namespace talvane::bench
