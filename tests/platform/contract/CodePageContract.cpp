#include "tests/platform/contract/CodePageContract.h"

#include <vector>

namespace talvane::contract {
namespace {

struct Decoding {
    std::string bytes;
    std::u16string text;
};

TEST_P(CodePageContract, ToUnicode_DecodesGbk_AndReplacesEachBadByte) {
    const std::vector<Decoding> cases = {
        {"", u""},
        {"abc 123", u"abc 123"},
        {"\xB4\xF2\xBF\xAA", u"打开"},
        {"\xA1\xA1", u"\u3000"},
        // A byte that starts no character.
        {"a\xFF"
         "b",
         u"a\uFFFD"
         "b"},
        // A lead byte whose follower is no trail byte: only the lead is lost.
        {"a\x81 b", u"a\uFFFD b"},
        {"\x81\x7F"
         "c",
         u"\uFFFD\x7F"
         "c"},
        // Truncated at the end.
        {"a\xC4", u"a\uFFFD"},
        {"\xB4\xF2\xBF", u"打\uFFFD"},
        // The user-defined areas are private-use characters. Here the '@'
        // after A1 is its trail byte, so the page has no record separator
        // "@@@@" at this place: both faces must split it alike.
        {"a\xA1@@@@b", u"a\uE4C6@@@b"},
        {"\xAA\xA1\xAF\xFE\xF8\xA1\xFE\xFE", u"\uE000\uE233\uE234\uE4C5"},
        {"\xA1\x7E\xA1\x80\xA7\xA0", u"\uE504\uE505\uE765"},
        {"\xA1\x7F", u"\uFFFD\x7F"},
    };
    auto codePage = GetParam().make();
    for (const Decoding& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(codePage->toUnicode(c.bytes), c.text);
    }
}

TEST_P(CodePageContract, FromUnicode_EncodesGbk_AndMarksWhatItLacks) {
    const std::vector<Decoding> cases = {
        {"", u""},
        {"abc", u"abc"},
        {"\xB4\xF2\xBF\xAA", u"打开"},
        {"\xA1\xA1", u"\u3000"},
        // Thai, a character outside the BMP (one '?' for the pair), a lone
        // surrogate.
        {"a?b", u"a\u0E01b"},
        {"?\xB4\xF2", u"\U0001F600打"},
        {"?x", u"\xD800x"},
        {"\xA1\x40\xAA\xA1\xFE\xFE", u"\uE4C6\uE000\uE4C5"},
    };
    auto codePage = GetParam().make();
    for (const Decoding& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(codePage->fromUnicode(c.text), c.bytes);
    }
}

}  // namespace
}  // namespace talvane::contract
