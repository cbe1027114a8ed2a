#pragma once

#include <array>

namespace talvane {

// One run of source pixels [from, from + count) drawn over [at, at + length).
struct Slice {
    int from, count, at, length;
};

// Cuts one axis of the background picture so that its far edge lands on the
// window's edge. The window follows the rounded region, whose trims are
// whole pixels at every scale, so it is a few pixels larger than the
// picture drawn at the window's scale (4 x 16 at 150 %): the picture up to
// its edge band (the rounded corners and the border, band source pixels)
// keeps its drawn size, the last pixel before the band is stretched over
// the gap, and the band goes to the window's edge. Elements placed in
// twips stay on the art they belong to.
std::array<Slice, 3> EdgeSlices(int band, int sourceLength, int drawnLength, int windowLength);

}  // namespace talvane
