#include "platform/linux/SystemRandom.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace talvane {
namespace {

TEST(SystemRandom, Next_StaysBelowOne_AndSpreadsOverTheInterval) {
    SystemRandom random;
    random.reseed();
    double sum = 0;
    float largest = 0;
    for (int i = 0; i < 200000; ++i) {
        const float r = random.next();
        ASSERT_TRUE(r >= 0.0f && r < 1.0f) << r;
        sum += r;
        largest = std::max(largest, r);
    }
    EXPECT_NEAR(sum / 200000, 0.5, 0.01);
    EXPECT_GT(largest, 0.999f);
}

}  // namespace
}  // namespace talvane
