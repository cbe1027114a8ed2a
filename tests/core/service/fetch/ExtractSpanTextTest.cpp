#include <gtest/gtest.h>

#include <string>

#include "service/PageFetch.h"

namespace talvane {
namespace {

using Status = SpanResult::Status;

std::u16string Found(std::u16string_view page, std::u16string_view marker) {
    const SpanResult result = ExtractSpanText(page, marker);
    EXPECT_EQ(result.status, Status::Found) << result.error;
    return result.text;
}

TEST(ExtractSpanText, ReturnsNotFound_WhenMarkerIsAbsentOrDiffersInCase) {
    EXPECT_EQ(ExtractSpanText(u"", u"lblTopics").status, Status::NotFound);
    EXPECT_EQ(ExtractSpanText(u"<span id=\"lblOther\">x</span>", u"lblTopics").status,
              Status::NotFound);
    EXPECT_EQ(ExtractSpanText(u"<span id=\"LBLTOPICS\">x</span>", u"lblTopics").status,
              Status::NotFound);
    EXPECT_EQ(ExtractSpanText(u"<span id=\"lbltopics\">x</span>", u"lblTopics").status,
              Status::NotFound);
}

TEST(ExtractSpanText, ReturnsTextAfterTwoSkippedCharacters_WithSeparatorsKept) {
    EXPECT_EQ(Found(u"<p><span id=\"lblTopics\">a||||1||||b$$$$c@@@@d</span></p>", u"lblTopics"),
              u"a||||1||||b$$$$c@@@@d");
    // The two skipped characters are passed over unread, whatever they are.
    EXPECT_EQ(Found(u"lblRemindersXYz&&&&w</span>", u"lblReminders"), u"z&&&&w");
    EXPECT_EQ(Found(u"<span id=lblTopics>中文</span>", u"lblTopics"), u"文");
}

TEST(ExtractSpanText, ReturnsEmptyFoundText_WhenSpanEndFollowsSkippedCharacters) {
    const SpanResult result = ExtractSpanText(u"<span id=\"lblTopics\"></span>", u"lblTopics");
    EXPECT_EQ(result.status, Status::Found);
    EXPECT_TRUE(result.text.empty());
}

TEST(ExtractSpanText, UsesFirstOccurrenceOfMarker_EvenWhenALaterOneIsMeant) {
    EXPECT_EQ(Found(u"<!-- lblTopics --><span id=\"lblTopics\">real</span>", u"lblTopics"),
              u"-><span id=\"lblTopics\">real");
    EXPECT_EQ(Found(u"<b id=\"lblTopics\">one</b><span>two</span>", u"lblTopics"),
              u"one</b><span>two");
}

TEST(ExtractSpanText, ReturnsError_WhenNoSpanEndFollowsMarker) {
    EXPECT_EQ(ExtractSpanText(u"<span id=\"lblTopics\">no end", u"lblTopics").status,
              Status::Error);
    EXPECT_EQ(
        ExtractSpanText(u"</span><span id=\"lblTopics\">end only before", u"lblTopics").status,
        Status::Error);
    EXPECT_EQ(ExtractSpanText(u"<span id=\"lblTopics\"></SPAN>", u"lblTopics").status,
              Status::Error);
}

TEST(ExtractSpanText, ReturnsError_WhenSpanEndBeginsWithinSkippedCharacters) {
    EXPECT_EQ(ExtractSpanText(u"lblTopics\"</span>", u"lblTopics").status, Status::Error);
    EXPECT_EQ(ExtractSpanText(u"lblTopics</span>", u"lblTopics").status, Status::Error);
}

TEST(ExtractSpanText, SearchesSpanEndFromMarkersThirdCharacter) {
    // "</span>" at the marker's second character lies before the search.
    EXPECT_EQ(Found(u"x</span>ab</span>", u"x</span>"), u"");
    // At its third character it is found, and ends inside the skipped part.
    EXPECT_EQ(ExtractSpanText(u"xy</span>ab</span>", u"xy</span>").status, Status::Error);
}

TEST(ExtractSpanText, CutsNormally_WhenPositionsLieBeyond32767) {
    const std::u16string padding(40000, u'x');
    EXPECT_EQ(Found(padding + u"<span id=\"lblTopics\">late</span>", u"lblTopics"), u"late");

    const std::u16string longSpan(33000, u'y');
    EXPECT_EQ(Found(u"<span id=\"lblTopics\">" + longSpan + u"</span>", u"lblTopics"), longSpan);
}

}  // namespace
}  // namespace talvane
