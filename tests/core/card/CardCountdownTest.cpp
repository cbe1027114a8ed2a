#include "card/CardCountdown.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace talvane::card {
namespace {

class CardCountdownTest : public ::testing::Test {
  protected:
    std::int64_t now = 1'000'000;
    CardCountdown countdown{10000, [this] { return now; }};
};

TEST_F(CardCountdownTest, RunsFromTheStart_AndShrinksTheBar) {
    EXPECT_TRUE(countdown.running());
    EXPECT_EQ(countdown.msUntilExpiry(), 10000);
    EXPECT_EQ(countdown.barWidth(320), 320);
    now += 2500;
    EXPECT_EQ(countdown.msUntilExpiry(), 7500);
    EXPECT_EQ(countdown.barWidth(320), 240);
    EXPECT_FALSE(countdown.expired());
    now += 7500;
    EXPECT_TRUE(countdown.expired());
    EXPECT_EQ(countdown.barWidth(320), 0);
    now += 5000;  // a late timer
    EXPECT_EQ(countdown.msUntilExpiry(), 0);
}

TEST_F(CardCountdownTest, PausesUnderThePointer_AndLeavesAtLeastTheGrace) {
    now += 4000;
    countdown.pointerEntered();
    EXPECT_FALSE(countdown.running());
    now += 60000;
    EXPECT_EQ(countdown.msUntilExpiry(), 6000);
    EXPECT_FALSE(countdown.expired());
    countdown.pointerLeft();
    EXPECT_TRUE(countdown.running());
    EXPECT_EQ(countdown.msUntilExpiry(), 6000);

    now += 5500;  // 500 ms left when the pointer comes back
    countdown.pointerEntered();
    countdown.pointerEntered();  // a second enter changes nothing
    now += 1000;
    countdown.pointerLeft();
    EXPECT_EQ(countdown.msUntilExpiry(), 2000);
    now += 2000;
    EXPECT_TRUE(countdown.expired());
}

TEST_F(CardCountdownTest, ARepeatRestartsTheWholeLifetime_StillPausedUnderThePointer) {
    now += 8000;
    countdown.restart();
    EXPECT_EQ(countdown.msUntilExpiry(), 10000);
    EXPECT_EQ(countdown.barWidth(320), 320);

    countdown.pointerEntered();
    now += 3000;
    countdown.restart();
    EXPECT_FALSE(countdown.running());
    now += 30000;
    EXPECT_EQ(countdown.msUntilExpiry(), 10000);
    countdown.pointerLeft();
    now += 9999;
    EXPECT_FALSE(countdown.expired());
}

TEST(CardCountdown, ALeaveWithoutAnEnterChangesNothing) {
    std::int64_t now = 0;
    CardCountdown countdown(3000, [&] { return now; });
    now += 2000;
    countdown.pointerLeft();
    EXPECT_EQ(countdown.msUntilExpiry(), 1000);
}

}  // namespace
}  // namespace talvane::card
