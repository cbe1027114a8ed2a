#include "platform/linux/IconvCodePage.h"

#include <gtest/gtest.h>

namespace talvane {
namespace {

// "中文" in GBK.
const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";

TEST(IconvCodePage, ToUnicode_DecodesAsciiAndDoubleByteCharacters) {
    IconvCodePage gbk;
    ASSERT_TRUE(gbk.valid());
    EXPECT_EQ(gbk.toUnicode("ab " + kZhongWenGbk + "9"), u"ab 中文9");
    EXPECT_EQ(gbk.toUnicode(""), u"");
    EXPECT_EQ(gbk.toUnicode(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(IconvCodePage, ToUnicode_ReplacesEachBadByteAndGoesOn) {
    IconvCodePage gbk;
    // 0xFF is no lead byte; a lead byte before a space is not a character,
    // so the space survives; a lead byte at the very end is cut.
    EXPECT_EQ(gbk.toUnicode("a\xFFz"), u"a\uFFFDz");
    EXPECT_EQ(gbk.toUnicode("\xFF\xFF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(gbk.toUnicode("\xD6 x"), u"\uFFFD x");
    EXPECT_EQ(gbk.toUnicode(kZhongWenGbk + "\xD6"), u"中文\uFFFD");
}

TEST(IconvCodePage, FromUnicode_EncodesAndMarksUnrepresentableCharacters) {
    IconvCodePage gbk;
    EXPECT_EQ(gbk.fromUnicode(u"ab 中文9"), "ab " + kZhongWenGbk + "9");
    // A character outside GBK, a surrogate pair (one '?', not two) and lone
    // surrogates in the middle and at the end.
    EXPECT_EQ(gbk.fromUnicode(u"x\u0E01y"), "x?y");
    EXPECT_EQ(gbk.fromUnicode(u"a\U0001F600b"), "a?b");
    EXPECT_EQ(gbk.fromUnicode(std::u16string(u"a\xD800"
                                             u"b\xDC00",
                                             4)),
              "a?b?");
    EXPECT_EQ(gbk.fromUnicode(std::u16string(u"\xD83D", 1)), "?");
    EXPECT_EQ(gbk.toUnicode(gbk.fromUnicode(u"全角　空格，")), u"全角　空格，");
}

TEST(IconvCodePage, FourByteSequences_GrowTheOutputAndBecomeSurrogatePairs) {
    IconvCodePage gb18030("GB18030");
    const std::u16string wide(1000, u'\u0080');  // four bytes each
    std::string bytes;
    for (int i = 0; i < 1000; ++i) bytes += "\x81\x30\x81\x30";
    EXPECT_EQ(gb18030.fromUnicode(wide), bytes);
    EXPECT_EQ(gb18030.toUnicode(bytes), wide);
    EXPECT_EQ(gb18030.toUnicode("\x90\x30\x81\x30"), u"\U00010000");
}

// Every pair of the three user-defined areas has a private-use character of
// its own, U+E000 to U+E765 without a gap, and goes back to the same pair;
// other code pages keep iconv's own answer.
TEST(IconvCodePage, GbkUserDefinedAreas_FillThePrivateUseRangeBothWays) {
    IconvCodePage gbk("cp936");
    struct Area {
        int firstLead, lastLead, firstTrail, lastTrail;
    };
    std::u16string decoded;
    std::string pairs;
    for (const Area& area : {Area{0xAA, 0xAF, 0xA1, 0xFE}, Area{0xF8, 0xFE, 0xA1, 0xFE},
                             Area{0xA1, 0xA7, 0x40, 0xA0}}) {
        for (int lead = area.firstLead; lead <= area.lastLead; ++lead) {
            for (int trail = area.firstTrail; trail <= area.lastTrail; ++trail) {
                if (trail == 0x7F) continue;
                const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
                decoded += gbk.toUnicode(pair);
                pairs += pair;
            }
        }
    }
    std::u16string expected;
    for (char16_t c = u'\uE000'; c <= u'\uE765'; ++c) expected.push_back(c);
    EXPECT_EQ(decoded, expected);
    EXPECT_EQ(gbk.fromUnicode(expected), pairs);

    EXPECT_EQ(IconvCodePage("GB2312").toUnicode("\xA1@"), u"\uFFFD@");
    EXPECT_EQ(IconvCodePage("GB18030").toUnicode("\xA1@"), u"\uE4C6");
}

TEST(IconvCodePage, UnknownName_PassesAsciiOnly) {
    IconvCodePage none("NO-SUCH-CODEPAGE");
    EXPECT_FALSE(none.valid());
    EXPECT_EQ(none.toUnicode("ok\xD6\xD0"), u"ok\uFFFD\uFFFD");
    EXPECT_EQ(none.fromUnicode(u"ok中\U0001F600"), "ok??");
}

}  // namespace
}  // namespace talvane
