#pragma once

#include <cstdint>
#include <random>

#include "platform/Random.h"

namespace talvane {

// A 64-bit Mersenne Twister. Every re-seed mixes the high-resolution clock
// with the system's entropy source and the process id, so two machines (or
// two processes) that seed within the same timer tick still draw different
// numbers. Standard C++ only: each platform hands in its process id.
class ReseedingRandom : public Random {
  public:
    explicit ReseedingRandom(std::uint32_t processId);
    void reseed() override;
    float next() override;

  private:
    std::mt19937_64 engine_;
    std::uint32_t processId_;
    std::uint64_t reseeds_ = 0;
};

}  // namespace talvane
