#include "card/CardRoster.h"

#include <gtest/gtest.h>

#include <vector>

namespace talvane::card {
namespace {

using Cards = std::vector<int>;

TEST(CardRoster, KeepsThreeCardsNewestFirst_AndFindsARepeatedMessage) {
    CardRoster<int> roster;
    EXPECT_EQ(roster.add(1, u"a"), Cards{});
    EXPECT_EQ(roster.add(2, u"b"), Cards{});
    EXPECT_EQ(roster.add(3, u"c"), Cards{});
    EXPECT_EQ(roster.newestFirst(), (Cards{3, 2, 1}));
    ASSERT_NE(roster.showing(u"a"), nullptr);
    EXPECT_EQ(*roster.showing(u"a"), 1);
    EXPECT_EQ(roster.showing(u"d"), nullptr);

    EXPECT_EQ(roster.add(4, u"d"), Cards{1});
    EXPECT_EQ(roster.newestFirst(), (Cards{4, 3, 2}));
    EXPECT_EQ(roster.showing(u"a"), nullptr);
    EXPECT_FALSE(roster.remove(1)) << "the face's close of a pushed-out card";

    EXPECT_TRUE(roster.remove(3));
    EXPECT_EQ(roster.newestFirst(), (Cards{4, 2}));
    EXPECT_EQ(roster.size(), 2u);
}

}  // namespace
}  // namespace talvane::card
