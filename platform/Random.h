#pragma once

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

}  // namespace talvane
