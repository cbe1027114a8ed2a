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
    };
    auto codePage = GetParam().make();
    for (const Decoding& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(codePage->fromUnicode(c.text), c.bytes);
    }
}

}  // namespace
}  // namespace talvane::contract
