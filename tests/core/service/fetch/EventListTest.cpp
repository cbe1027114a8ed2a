#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "service/EventList.h"

namespace talvane {
namespace {

constexpr std::u16string_view kBase = u"http://svc.test";

std::u16string Record(std::u16string id, std::u16string title, std::u16string time,
                      std::u16string flag, std::u16string count, std::u16string detail) {
    return id + u"$$$$" + title + u"$$$$" + time + u"$$$$" + flag + u"$$$$" + count + u"$$$$" +
           detail;
}

std::u16string Numbered(std::u16string_view prefix, int i) {
    return std::u16string(prefix) + static_cast<char16_t>(u'0' + i);
}

std::u16string OpenRecord(int i) {
    return Record(Numbered(u"E", i), Numbered(u"Title ", i), u"2008-12-12(14:30-16:30)", u"1",
                  Numbered(u"", i), Numbered(u"Detail ", i));
}

std::u16string Payload(std::u16string count, const std::vector<std::u16string>& records) {
    std::u16string joined;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0) joined += u"@@@@";
        joined += records[i];
    }
    return u"head||||" + count + u"||||" + joined + u"||||tail";
}

// A table whose every slot holds something, to see what a call leaves alone.
RowTable FilledTable() {
    RowTable rows;
    for (int r = 0; r < RowTable::kSlots; ++r) {
        rows.RowTitle[r] = Numbered(u"old title ", r);
        rows.RowViewUrl[r] = Numbered(u"old view ", r);
        rows.RowTimeUrl[r] = Numbered(u"old time url ", r);
        rows.RowStatusText[r] = Numbered(u"old status ", r);
        rows.RowTimeText[r] = Numbered(u"old time ", r);
        rows.RowDetailText[r] = Numbered(u"old detail ", r);
        rows.RowShowNew[r] = -1;
    }
    return rows;
}

RowTable ClearedTable() {
    RowTable rows = FilledTable();
    ClearRows(rows);
    return rows;
}

void ExpectRowAsCleared(const RowTable& rows, int r) {
    EXPECT_EQ(rows.RowTitle[r], u"") << r;
    EXPECT_EQ(rows.RowViewUrl[r], u"") << r;
    EXPECT_EQ(rows.RowStatusText[r], u"") << r;
    EXPECT_EQ(rows.RowTimeText[r], u"") << r;
    EXPECT_EQ(rows.RowShowNew[r], 0) << r;
}

TEST(getTitle, ShortensOnlyTitlesLongerThan32Units_AndWritesTheResultBack) {
    std::u16string empty;
    EXPECT_EQ(getTitle(empty), u"");

    std::u16string exactly32(32, u'题');
    EXPECT_EQ(getTitle(exactly32), std::u16string(32, u'题'));
    EXPECT_EQ(exactly32, std::u16string(32, u'题'));

    std::u16string title33 = std::u16string(30, u'a') + u"bcd";
    EXPECT_EQ(getTitle(title33), std::u16string(30, u'a') + u"...");
    EXPECT_EQ(title33, std::u16string(30, u'a') + u"...");
}

TEST(getTitle, NeverCutsASurrogatePair) {
    // U+1F600 taking units 30 and 31: the cut after 30 would halve it.
    std::u16string split = std::u16string(29, u'a') + u"\U0001F600" + u"bcd";
    EXPECT_EQ(getTitle(split), std::u16string(29, u'a') + u"...");

    // A pair ending at unit 30 stays whole.
    std::u16string whole = std::u16string(28, u'a') + u"\U0001F600" + u"bcd";
    EXPECT_EQ(getTitle(whole), std::u16string(28, u'a') + u"\U0001F600...");
}

TEST(SplitAll, KeepsEveryPiece_EmptyOnesIncluded) {
    using Pieces = std::vector<std::u16string>;
    EXPECT_EQ(SplitAll(u"a||||||||b", u"||||"), (Pieces{u"a", u"", u"b"}));
    EXPECT_EQ(SplitAll(u"||||", u"||||"), (Pieces{u"", u""}));
    EXPECT_EQ(SplitAll(u"", u"||||"), (Pieces{u""}));
    EXPECT_EQ(SplitAll(u"a|||b", u"||||"), (Pieces{u"a|||b"}));
    EXPECT_EQ(SplitAll(u"a$$$$B$$$$", u"$$$$"), (Pieces{u"a", u"B", u""}));
    EXPECT_EQ(SplitAll(u"abc", u""), (Pieces{u"abc"}));
}

TEST(ClearRows, EmptiesTitleViewUrlStatusTimeAndBadge_OfRows0To4Only) {
    const RowTable rows = ClearedTable();
    for (int r = 0; r < RowTable::kRows; ++r) {
        ExpectRowAsCleared(rows, r);
        EXPECT_EQ(rows.RowTimeUrl[r], Numbered(u"old time url ", r));
        EXPECT_EQ(rows.RowDetailText[r], Numbered(u"old detail ", r));
    }
    EXPECT_EQ(rows.RowTitle[5], u"old title 5");
    EXPECT_EQ(rows.RowShowNew[5], -1);
}

TEST(ParseEventList, FillsEndedRow_WithReplayLinkAndDatePart) {
    RowTable rows = ClearedTable();
    std::vector<std::u16string> records(5, OpenRecord(9));
    records[0] = Record(u"E42", u"Title", u"2008-12-12(14:30-16:30)", u"0", u"77", u"Detail");
    ParseEventList(Payload(u"5", records), kBase, u"C1", rows);

    EXPECT_EQ(rows.RowTitle[0], u"Title");
    EXPECT_EQ(rows.RowShowNew[0], 0);
    EXPECT_EQ(rows.RowStatusText[0], u"状\u3000态\uFF1A已结束");
    EXPECT_EQ(rows.RowTimeText[0], u"时\u3000间\uFF1A2008-12-12   进入会议重现");
    EXPECT_EQ(rows.RowViewUrl[0],
              u"http://svc.test/endusers/meeting_view.aspx?FRM=Software&EventID=E42&id=C1");
    EXPECT_EQ(rows.RowTimeUrl[0],
              u"http://svc.test/endusers/WebinarPlayBack.aspx?FRM=Software&EventID=E42&id=C1");
    EXPECT_EQ(rows.RowDetailText[0], u"Detail");
}

TEST(ParseEventList, TreatsEveryFlagButExactly0AsNotEnded) {
    const std::vector<std::u16string> flags{u"1", u"00", u" 0", u"", u"0 "};
    std::vector<std::u16string> records;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        records.push_back(Record(u"E", u"T", u"2008-12-12(14:30-16:30)", flags[i], u"12", u"D"));
    }
    RowTable rows = ClearedTable();
    ParseEventList(Payload(u"5", records), kBase, u"C1", rows);
    for (int r = 0; r < RowTable::kRows; ++r) {
        EXPECT_EQ(rows.RowShowNew[r], -1) << r;
        EXPECT_EQ(rows.RowStatusText[r], u"已报名\uFF1A12人") << r;
        EXPECT_EQ(rows.RowTimeText[r], u"时\u3000间\uFF1A2008-12-12(14:30-16:30)") << r;
        EXPECT_EQ(rows.RowTimeUrl[r], rows.RowViewUrl[r]) << r;
    }
}

TEST(ParseEventList, UsesWholeTimeText_WhenShorterThan10_AndNeverHalvesAPair) {
    std::vector<std::u16string> records(5, OpenRecord(9));
    records[0] = Record(u"E", u"T", u"2008-12", u"0", u"", u"D");
    records[1] = Record(u"E", u"T", u"", u"0", u"", u"D");
    records[2] = Record(u"E", u"T", u"123456789\U0001F600", u"0", u"", u"D");
    records[3] = Record(u"E", u"T", u"1234567890", u"0", u"", u"D");
    RowTable rows = ClearedTable();
    ParseEventList(Payload(u"5", records), kBase, u"C1", rows);
    const std::u16string after = u"   进入会议重现";
    EXPECT_EQ(rows.RowTimeText[0], u"时\u3000间\uFF1A2008-12" + after);
    EXPECT_EQ(rows.RowTimeText[1], u"时\u3000间\uFF1A" + after);
    EXPECT_EQ(rows.RowTimeText[2], u"时\u3000间\uFF1A123456789" + after);
    EXPECT_EQ(rows.RowTimeText[3], u"时\u3000间\uFF1A1234567890" + after);
}

TEST(ParseEventList, UsesFirstFiveRecordsAndSixFields_IgnoringTheRest) {
    std::vector<std::u16string> records;
    for (int i = 0; i < 7; ++i) records.push_back(OpenRecord(i) + u"$$$$extra");
    RowTable rows = ClearedTable();
    const EventListResult result =
        ParseEventList(Payload(u"7", records) + u"||||" + OpenRecord(8), kBase, u"C1", rows);
    EXPECT_EQ(result.rowsFilled, 5);
    for (int r = 0; r < RowTable::kRows; ++r) {
        EXPECT_EQ(rows.RowTitle[r], Numbered(u"Title ", r));
        EXPECT_EQ(rows.RowDetailText[r], Numbered(u"Detail ", r));
    }
    EXPECT_EQ(rows.RowTitle[5], u"old title 5");
}

TEST(ParseEventList, EscapesOnlyWhatWouldRewriteTheAddress_InEventIds) {
    // Identifier as sent, what follows "EventID=" in both row addresses.
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"E-42_x", u"E-42_x"},
        {u"a&id=evil#frag", u"a%26id%3Devil%23frag"},
        {u"1+1 %41", u"1%2B1%20%2541"},
        {u"会议/.~?", u"会议/.~?"},
        // A control character would make the opener refuse the whole address.
        {u"E\r\n1\t", u"E%0D%0A1%09"},
    };
    std::vector<std::u16string> records(5, OpenRecord(9));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        records[i] = Record(cases[i].first, u"T", u"t", i % 2 ? u"0" : u"1", u"1", u"D");
    }
    RowTable rows = ClearedTable();
    ParseEventList(Payload(u"5", records), kBase, u"unknown value", rows);
    for (int r = 0; r < static_cast<int>(std::size(cases)); ++r) {
        const std::u16string& id = cases[r].second;
        EXPECT_EQ(rows.RowViewUrl[r],
                  u"http://svc.test/endusers/meeting_view.aspx?FRM=Software"
                  u"&EventID=" +
                      id + u"&id=unknown%20value");
        EXPECT_EQ(rows.RowTimeUrl[r],
                  (r % 2 ? u"http://svc.test/endusers/WebinarPlayBack.aspx?FRM=Software&EventID="
                         : u"http://svc.test/endusers/meeting_view.aspx?FRM=Software&EventID=") +
                      id + u"&id=unknown%20value");
    }
}

TEST(ParseEventList, CutsTheTextsDrawnOnEveryPaint_At256Units) {
    const std::u16string pair = u"😀";
    const std::u16string longText = std::u16string(255, u'x') + pair + u"tail";
    std::vector<std::u16string> records(5, OpenRecord(9));
    records[0] = Record(u"E", u"T", longText, u"1", longText, longText);
    records[1] = Record(u"E", u"T", u"t", u"1", u"1", std::u16string(300, u'd'));
    RowTable rows = ClearedTable();
    const EventListResult result = ParseEventList(Payload(longText, records), kBase, u"C", rows);
    const std::u16string cut(255, u'x');  // the pair at 256 goes whole
    EXPECT_EQ(*result.footerCaption, u"更多研讨会资料(" + cut + u"场)，随时点播...");
    EXPECT_EQ(rows.RowTimeText[0], u"时　间：" + cut);
    EXPECT_EQ(rows.RowStatusText[0], u"已报名：" + cut + u"人");
    EXPECT_EQ(rows.RowDetailText[0], cut);
    EXPECT_EQ(rows.RowDetailText[1], std::u16string(256, u'd'));
}

TEST(ParseEventList, BuildsFooterCaptionFromElement1) {
    RowTable rows = ClearedTable();
    std::vector<std::u16string> records(5, OpenRecord(1));
    const EventListResult result = ParseEventList(Payload(u"120", records), kBase, u"C", rows);
    ASSERT_TRUE(result.footerCaption.has_value());
    EXPECT_EQ(*result.footerCaption, u"更多研讨会资料(120场)\uFF0C随时点播...");
}

TEST(ParseEventList, FillsOnlyCompleteRecords_WhenPayloadIsMalformed) {
    {
        RowTable rows = ClearedTable();
        const EventListResult result = ParseEventList(u"no separators", kBase, u"C", rows);
        EXPECT_FALSE(result.footerCaption.has_value());
        EXPECT_EQ(result.rowsFilled, 0);
        for (int r = 0; r < RowTable::kRows; ++r) ExpectRowAsCleared(rows, r);
    }
    {
        RowTable rows = ClearedTable();
        const EventListResult result = ParseEventList(u"x||||9", kBase, u"C", rows);
        EXPECT_TRUE(result.footerCaption.has_value());
        EXPECT_EQ(result.rowsFilled, 0);
        for (int r = 0; r < RowTable::kRows; ++r) ExpectRowAsCleared(rows, r);
    }
    {
        RowTable rows = ClearedTable();
        const EventListResult result = ParseEventList(
            Payload(u"3", {OpenRecord(0), OpenRecord(1), OpenRecord(2)}), kBase, u"C", rows);
        EXPECT_EQ(result.rowsFilled, 3);
        EXPECT_EQ(rows.RowTitle[2], u"Title 2");
        ExpectRowAsCleared(rows, 3);
        ExpectRowAsCleared(rows, 4);
    }
    {
        RowTable rows = ClearedTable();
        std::vector<std::u16string> records(5, OpenRecord(7));
        records[1] = u"E$$$$T$$$$t$$$$1$$$$5";  // five fields
        records[3] = u"";
        const EventListResult result = ParseEventList(Payload(u"5", records), kBase, u"C", rows);
        EXPECT_EQ(result.rowsFilled, 3);
        EXPECT_EQ(rows.RowTitle[0], u"Title 7");
        ExpectRowAsCleared(rows, 1);
        EXPECT_EQ(rows.RowDetailText[1], u"old detail 1");
        ExpectRowAsCleared(rows, 3);
        EXPECT_EQ(rows.RowTitle[4], u"Title 7");
    }
}

}  // namespace
}  // namespace talvane
