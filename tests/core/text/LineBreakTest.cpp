#include "text/LineBreak.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/text/FixedWidthMeasure.h"

namespace talvane::text {
namespace {

using Lines = std::vector<std::u16string>;

const testing::FixedWidthMeasure kMeasure;

struct BreakCase {
    const char* what;
    std::u16string text;
    int width;
    Lines expected;
    std::size_t maxLines = 3;
    Overflow overflow = Overflow::Ellipsis;
};

// Latin characters are 7 px, wide ones 14 px, "…" 10 px.
TEST(breakLines, BreaksWhereTheRuleAllows_AndWhereItMust) {
    const BreakCase cases[] = {
        {"fits", u"hello", 35, {u"hello"}},
        {"after a blank, the blank dropped", u"hello world", 49, {u"hello", u"world"}},
        {"a blank run at the break", u"ab   cd", 21, {u"ab", u"cd"}},
        {"at the last blank that fits", u"aa bb cc dd", 49, {u"aa bb", u"cc dd"}},
        {"between wide characters", u"会议将在明天开始", 56, {u"会议将在", u"明天开始"}},
        {"between a wide character and Latin", u"会议ABC", 35, {u"会议", u"ABC"}},
        {"never before closing punctuation",
         u"会议将在明天。开始",
         42,
         {u"会议将", u"在明", u"天。开", u"始"},
         4},
        {"never after opening punctuation", u"会议《研讨会》", 42, {u"会议", u"《研讨", u"会》"}},
        {"a run wider than the line, broken where it must be",
         u"abcdefghij",
         35,
         {u"abcde", u"fghij"}},
        {"a long address after a word",
         u"see http://host/abcdefgh",
         70,
         {u"see", u"http://hos", u"t/abcdefgh"}},
        {"a forced break keeps a comma off the next line",
         u"abcd,efgh",
         28,
         {u"abc", u"d,ef", u"gh"}},
        {"a surrogate pair stays whole",
         u"a\U00020000\U00020000",
         28,
         {u"a\U00020000", u"\U00020000"}},
        {"a character wider than the line still gets a line", u"会会", 10, {u"会", u"会"}},
        {"line feeds end lines, carriage returns go",
         u"ab\r\ncd\n\nef",
         70,
         {u"ab", u"cd", u"", u"ef"},
         4,
         Overflow::Cut},
        {"the last line ends in an ellipsis", u"aaaa bbbb cccc dddd", 35, {u"aaaa", u"bbb…"}, 2},
        {"an ellipsis also when only a line feed follows", u"ab\ncd", 70, {u"ab…"}, 1},
        {"a cut label keeps what fits",
         u"aaaa bbbb cccc",
         35,
         {u"aaaa", u"bbbb"},
         2,
         Overflow::Cut},
        {"nothing to break", u"", 35, {}},
        {"no room", u"abc", 0, {}},
        {"no lines allowed", u"abc", 35, {}, 0},
    };
    for (const BreakCase& c : cases) {
        EXPECT_EQ(breakLines(c.text, kMeasure, c.width, c.maxLines, c.overflow), c.expected)
            << c.what;
    }
}

TEST(elide, KeepsWhatFits_AndEndsTheRestInAnEllipsis) {
    EXPECT_EQ(elide(u"hello", kMeasure, 35), u"hello");
    EXPECT_EQ(elide(u"hello world", kMeasure, 45), u"hello…");
    EXPECT_EQ(elide(u"ab cd", kMeasure, 31), u"ab…");  // no blank before the ellipsis
    EXPECT_EQ(elide(u"会议将在", kMeasure, 40), u"会议…");
    EXPECT_EQ(elide(u"hello", kMeasure, 5), u"…");
}

TEST(leadingUnits, NeverSplitsASurrogatePair) {
    EXPECT_EQ(leadingUnits(u"abc", 5), u"abc");
    EXPECT_EQ(leadingUnits(u"abc", 2), u"ab");
    EXPECT_EQ(leadingUnits(u"a\U00020000", 2), u"a");
}

}  // namespace
}  // namespace talvane::text
