#pragma once

#include <cstdint>
#include <random>

#include "platform/Random.h"

namespace talvane {

// A 64-bit Mersenne Twister. Every re-seed mixes the high-resolution clock
// with the system's entropy source, so two machines that seed within the
// same timer tick still draw different numbers.
class SystemRandom : public Random {
  public:
    SystemRandom();
    void reseed() override;
    float next() override;

  private:
    std::mt19937_64 engine_;
    std::uint64_t reseeds_ = 0;
};

}  // namespace talvane
