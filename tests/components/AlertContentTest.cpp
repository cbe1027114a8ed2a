#include <gtest/gtest.h>

#include "components/displaymsg/AlertContent.h"

namespace talvane::displaymsg {
namespace {

TEST(parseAlertMessage, GivesEachElementItsPlace) {
    const AlertContent content = parseAlertMessage(QStringLiteral(
        "直播即将开始||||||14:00||||||标题||||||正文||||||https://example.test/a?b=1"));
    EXPECT_EQ(content.heading, QStringLiteral("直播即将开始"));
    EXPECT_EQ(content.time, QStringLiteral("14:00"));
    EXPECT_EQ(content.title, QStringLiteral("标题"));
    EXPECT_EQ(content.body, QStringLiteral("正文"));
    EXPECT_EQ(content.link, QUrl(QStringLiteral("https://example.test/a?b=1")));
    EXPECT_TRUE(content.footnote.isEmpty());
}

TEST(parseAlertMessage, FillsGapsAndFlattensControlCharacters) {
    const AlertContent empty = parseAlertMessage(QStringLiteral("||||||||||||||||||||||||"));
    EXPECT_EQ(empty.heading, QStringLiteral("会议提醒"));
    EXPECT_TRUE(empty.title.isEmpty());
    EXPECT_FALSE(empty.link.isValid());

    const AlertContent partial = parseAlertMessage(QStringLiteral("only a heading"));
    EXPECT_EQ(partial.heading, QStringLiteral("only a heading"));
    EXPECT_TRUE(partial.body.isEmpty());

    const AlertContent messy = parseAlertMessage(
        QStringLiteral("h||||||t||||||a\tb\r\nc||||||<b>x</b>\u2028y||||||f||||||g"));
    EXPECT_EQ(messy.title, QStringLiteral("a b c"));
    EXPECT_EQ(messy.body, QStringLiteral("<b>x</b> y"));
    EXPECT_EQ(messy.footnote, QStringLiteral("f"));
}

TEST(parseAlertMessage, OpensOnlyWebAddresses) {
    const char* notLinks[] = {"javascript:alert(1)", "file:///etc/passwd",   "http://",
                              "主讲人：王工程师",    "ftp://example.test/x", "http//example.test"};
    for (const char* text : notLinks) {
        const AlertContent content = parseAlertMessage(
            QStringLiteral("h||||||t||||||x||||||b||||||") + QString::fromUtf8(text));
        EXPECT_FALSE(content.link.isValid()) << text;
        EXPECT_EQ(content.footnote, QString::fromUtf8(text)) << text;
    }
    EXPECT_TRUE(parseAlertMessage(QStringLiteral("||||||||||||||||||||||||HTTP://Example.test/"))
                    .link.isValid());
}

TEST(popupTimingFrom, ReadsTenthsOfASecondAndAGapInPixels) {
    EXPECT_EQ(popupTimingFrom(103, 50), (PopupTiming{10300, 50}));
    EXPECT_EQ(popupTimingFrom(0, 0), (PopupTiming{10000, 0}));
    EXPECT_EQ(popupTimingFrom(-7, -1), (PopupTiming{10000, 50}));
    EXPECT_EQ(popupTimingFrom(1, 300), (PopupTiming{1000, 300}));
    EXPECT_EQ(popupTimingFrom(32767, 32767), (PopupTiming{120000, 300}));
}

}  // namespace
}  // namespace talvane::displaymsg
