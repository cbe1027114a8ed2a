#pragma once

#include <cstdint>
#include <vector>

#include "app/PanelModel.h"

namespace talvane::bench {

struct PixelPoint {
    double x = 0;
    double y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// A scripted pointer path over a panel of width x height pixels, as a
// person's pointer would travel: down, up and down again through the rows
// in three columns (the margin, the titles, the right end of the hover
// areas), then along each row's title and status line, left to right and
// back. Positions come from the model's laid-out rows, so the path crosses
// every hover area and every title. Steps are at most `step` pixels.
std::vector<PixelPoint> PanelSweep(const PanelModel& model, double twipsPerPixelX,
                                   double twipsPerPixelY, int width, int height, double step);

// What a move can change on screen: each element's visibility and picture.
// Two equal snapshots around a move mean it changed nothing.
std::vector<std::uint8_t> HoverSnapshot(const PanelModel& model);

}  // namespace talvane::bench
