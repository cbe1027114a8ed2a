#include "platform/linux/SystemRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace talvane {
namespace {

TEST(SystemRandom, Next_StaysInUnitInterval_AndSpreadsOverIt) {
    SystemRandom random;
    double sum = 0;
    float smallest = 1;
    float largest = 0;
    constexpr int kDraws = 200000;
    for (int i = 0; i < kDraws; ++i) {
        if (i % 1000 == 0) random.reseed();
        const float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        sum += r;
        smallest = std::min(smallest, r);
        largest = std::max(largest, r);
    }
    EXPECT_NEAR(sum / kDraws, 0.5, 0.01);
    EXPECT_LT(smallest, 0.001f);
    EXPECT_GT(largest, 0.999f);
}

TEST(SystemRandom, GeneratorsSeededAtTheSameMoment_DrawDifferentNumbers) {
    // Seeding from the clock alone would make these equal when both fall in
    // one timer tick; the entropy source keeps them apart.
    std::vector<SystemRandom> machines(8);
    std::vector<int> firstDraws;
    for (auto& machine : machines) {
        machine.reseed();
        firstDraws.push_back(DrawOneTo30000(machine) * 30001 + DrawOneTo30000(machine));
    }
    std::sort(firstDraws.begin(), firstDraws.end());
    EXPECT_EQ(std::adjacent_find(firstDraws.begin(), firstDraws.end()), firstDraws.end());
}

}  // namespace
}  // namespace talvane
