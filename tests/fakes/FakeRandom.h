#pragma once

#include <cstddef>
#include <vector>

#include "platform/Random.h"

namespace talvane::testing {

// Hands out set draws in turn (the last one again once they run out) and
// records the order of re-seeds and draws as 'S' and 'D'.
class FakeRandom : public Random {
  public:
    explicit FakeRandom(std::vector<float> draws = {0.0f}) : draws_(std::move(draws)) {}

    // The draw r that NewCacheBuster turns into n (1 to 30000).
    static float drawFor(int n) { return (static_cast<float>(n) - 0.5f) / 30000.0f; }

    void reseed() override { log.push_back('S'); }
    float next() override {
        log.push_back('D');
        const float r = draws_[next_ < draws_.size() ? next_ : draws_.size() - 1];
        ++next_;
        return r;
    }
    std::vector<char> log;

  private:
    std::vector<float> draws_;
    std::size_t next_ = 0;
};

}  // namespace talvane::testing
