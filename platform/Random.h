#pragma once

#include <cstdint>

namespace talvane {

// The program's random generator, re-seeded from the system timer before
// each draw.
class Random {
  public:
    virtual ~Random() = default;
    virtual void reseed() = 0;
    // Single-precision value r with 0 <= r < 1.
    virtual float next() = 0;
};

// Re-seed, draw r, integer part of r * 30000 + 1: a number from 1 to 30000.
// Serves the cache-busting number and both random fields of a client number.
inline std::int16_t DrawOneTo30000(Random& random) {
    random.reseed();
    const double r = random.next();
    const auto n = static_cast<int>(r * 30000.0 + 1.0);
    // A generator that breaks its 0 <= r < 1 promise must not reach a URL.
    return static_cast<std::int16_t>(n < 1 ? 1 : (n > 30000 ? 30000 : n));
}

}  // namespace talvane
