#include <gtest/gtest.h>

#include <string>

#include "service/Reminders.h"

namespace talvane {
namespace {

std::u16string repeat(char16_t c, std::size_t n) { return std::u16string(n, c); }

std::u16string reminder(const std::u16string& element2) {
    return u"e0&&&&e1&&&&" + element2 + u"&&&&e3&&&&e4";
}

std::u16string alert(const std::u16string& element2) {
    return u"e0||||||e1||||||" + element2 + u"||||||e3||||||e4";
}

TEST(BuildAlertMessage, ShortensElement2OnlyWhenLongerThan16) {
    const std::u16string sixteen = u"0123456789abcdef";
    EXPECT_EQ(BuildAlertMessage(reminder(sixteen)), alert(sixteen));
    EXPECT_EQ(BuildAlertMessage(reminder(sixteen + u"g")), alert(u"0123456789abcde..."));
    EXPECT_EQ(BuildAlertMessage(reminder(repeat(u'字', 40))), alert(repeat(u'字', 15) + u"..."));
    EXPECT_EQ(BuildAlertMessage(reminder(u"")), alert(u""));
}

TEST(BuildAlertMessage, NeverCutsASurrogatePairInElement2) {
    const std::u16string pair = u"\U0001F514";  // two code units
    // The pair takes units 15 and 16: the cut after 15 would split it.
    EXPECT_EQ(BuildAlertMessage(reminder(repeat(u'a', 14) + pair + u"bc")),
              alert(repeat(u'a', 14) + u"..."));
    // The pair ends at unit 15: it is kept whole.
    EXPECT_EQ(BuildAlertMessage(reminder(repeat(u'a', 13) + pair + u"bcd")),
              alert(repeat(u'a', 13) + pair + u"..."));
    // Sixteen units holding a pair at the end are not shortened at all.
    EXPECT_EQ(BuildAlertMessage(reminder(repeat(u'a', 14) + pair)), alert(repeat(u'a', 14) + pair));
}

TEST(BuildAlertMessage, UsesElements0To4AndKeepsEmptyOnes) {
    EXPECT_EQ(BuildAlertMessage(u"a&&&&b&&&&c&&&&d&&&&e&&&&f&&&&g"),
              u"a||||||b||||||c||||||d||||||e");
    EXPECT_EQ(BuildAlertMessage(u"&&&&&&&&&&&&&&&&"), u"||||||||||||||||||||||||");
    EXPECT_EQ(BuildAlertMessage(u"a&&&&&&&&c&&&&d&&&&"), u"a||||||||||||c||||||d||||||");
    // Five ampersands: the separator is taken from the left.
    EXPECT_EQ(BuildAlertMessage(u"a&&&&&b&&&&c&&&&d&&&&e"), u"a||||||&b||||||c||||||d||||||e");
}

TEST(BuildAlertMessage, RefusesFewerThanFiveElements) {
    EXPECT_EQ(BuildAlertMessage(u""), std::nullopt);
    EXPECT_EQ(BuildAlertMessage(u"no separators at all"), std::nullopt);
    EXPECT_EQ(BuildAlertMessage(u"a&&&&b&&&&c&&&&d"), std::nullopt);
    EXPECT_EQ(BuildAlertMessage(u"a&&&b&&&&c&&&&d&&&&e"), std::nullopt);
}

}  // namespace
}  // namespace talvane
