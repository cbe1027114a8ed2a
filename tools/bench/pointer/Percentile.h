#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace talvane::bench {

// Nearest-rank percentile (p in 0..100) of the values; 0 when there are none.
// The median of an even count is the lower middle value, so a reported
// median is always one that was measured.
inline double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(p / 100.0 * static_cast<double>(values.size()));
    const auto index =
        static_cast<std::size_t>(std::clamp(rank, 1.0, static_cast<double>(values.size()))) - 1;
    return values[index];
}

}  // namespace talvane::bench
