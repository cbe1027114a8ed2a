#include "app/EdgeSlices.h"

#include <algorithm>

namespace talvane {

std::array<Slice, 3> EdgeSlices(int band, int sourceLength, int drawnLength, int windowLength) {
    band = std::clamp(band, 1, std::max(1, sourceLength - 1));
    const int drawnBand =
        static_cast<int>(static_cast<long long>(band) * drawnLength / sourceLength);
    const int gap = std::max(0, windowLength - drawnLength);
    const int body = drawnLength - drawnBand;
    return {{{0, sourceLength - band, 0, body},
             {sourceLength - band - 1, 1, body, gap},
             {sourceLength - band, band, body + gap, drawnBand}}};
}

}  // namespace talvane
