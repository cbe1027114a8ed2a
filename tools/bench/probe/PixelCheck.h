#pragma once

#include <cstddef>
#include <cstdint>

namespace talvane::bench {

// Pixels of a ZPixmap image as the X server sends them: rows of `stride`
// bytes, each pixel `bitsPerPixel` wide (8, 16 or 32), of which the low
// `depth` bits carry colour.
struct ZPixmapView {
    const std::uint8_t* data = nullptr;
    std::size_t length = 0;
    int width = 0;
    int height = 0;
    int stride = 0;
    int bitsPerPixel = 32;
    int depth = 24;
};

// True when at least two pixels differ in colour. A window that is mapped
// but not yet painted shows one flat background colour; an icon shows more.
// An image too short for its size counts as not drawn.
bool ShowsMoreThanOneColour(const ZPixmapView& image);

// The X server hands every client a block of resource identifiers; windows
// that lie outside the host's block were created by another client.
constexpr bool IsForeignWindow(std::uint32_t window, std::uint32_t hostWindow,
                               std::uint32_t resourceIdMask) {
    return (window & ~resourceIdMask) != (hostWindow & ~resourceIdMask);
}

constexpr bool SameClient(std::uint32_t a, std::uint32_t b, std::uint32_t resourceIdMask) {
    return !IsForeignWindow(a, b, resourceIdMask);
}

}  // namespace talvane::bench
