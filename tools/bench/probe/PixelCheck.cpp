#include "tools/bench/probe/PixelCheck.h"

namespace talvane::bench {

namespace {

std::uint32_t pixelAt(const ZPixmapView& image, int x, int y) {
    const std::uint8_t* row = image.data + static_cast<std::size_t>(y) * image.stride;
    switch (image.bitsPerPixel) {
        case 8:
            return row[x];
        case 16:
            return static_cast<std::uint32_t>(row[2 * x]) |
                   static_cast<std::uint32_t>(row[2 * x + 1]) << 8;
        default:
            return static_cast<std::uint32_t>(row[4 * x]) |
                   static_cast<std::uint32_t>(row[4 * x + 1]) << 8 |
                   static_cast<std::uint32_t>(row[4 * x + 2]) << 16 |
                   static_cast<std::uint32_t>(row[4 * x + 3]) << 24;
    }
}

}  // namespace

bool ShowsMoreThanOneColour(const ZPixmapView& image) {
    if (image.data == nullptr || image.width <= 0 || image.height <= 0) {
        return false;
    }
    const int bytesPerPixel = image.bitsPerPixel == 8 ? 1 : (image.bitsPerPixel == 16 ? 2 : 4);
    if (image.stride < image.width * bytesPerPixel ||
        image.length <
            static_cast<std::size_t>(image.stride) * static_cast<std::size_t>(image.height)) {
        return false;
    }
    // Bits above the depth are padding (an alpha byte the server leaves
    // undefined on a 24-bit window), not colour.
    const std::uint32_t colourMask = image.depth >= 32 ? 0xFFFFFFFFu : ((1u << image.depth) - 1u);
    const std::uint32_t first = pixelAt(image, 0, 0) & colourMask;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if ((pixelAt(image, x, y) & colourMask) != first) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace talvane::bench
