// The hostile service must deliver what its modes promise: pages that get
// past the body limit and the page cut, so that the broken content reaches
// the parser and the panel instead of being turned away at the door.
#include <gtest/gtest.h>

#include <string>

#include "platform/linux/CurlHttpClient.h"
#include "platform/linux/IconvCodePage.h"
#include "service/EventList.h"
#include "service/PageFetch.h"
#include "service/Reminders.h"
#include "tools/hostile-service/HostilePages.h"

namespace talvane::hostile {
namespace {

struct Parsed {
    SpanResult topics;
    SpanResult reminders;
    EventListResult list;
    RowTable rows;
};

Parsed ParsePage(const std::string& body) {
    const IconvCodePage gbk("GBK");
    const std::u16string page = gbk.toUnicode(body);
    Parsed parsed;
    parsed.topics = ExtractSpanText(page, u"lblTopics");
    parsed.reminders = ExtractSpanText(page, u"lblReminders");
    parsed.list = ParseEventList(parsed.topics.text, u"http://127.0.0.1", u"id", parsed.rows);
    return parsed;
}

TEST(HostilePages, FloodPageFitsTheBodyLimit_AndItsMegabyteTextsReachTheParser) {
    const std::string body = floodPage();
    EXPECT_LT(body.size(), HttpLimits{}.maxBodyBytes);
    EXPECT_GT(body.size(), 10u * 1024 * 1024);

    const Parsed parsed = ParsePage(body);
    ASSERT_EQ(parsed.topics.status, SpanResult::Status::Found);
    EXPECT_EQ(parsed.list.rowsFilled, 5);
    EXPECT_EQ(parsed.list.footerCaption, u"更多研讨会资料(10000场)，随时点播...");
    EXPECT_EQ(parsed.rows.RowTitle[0].size(), 33u);
    // Cut there: the panel draws it on every paint.
    EXPECT_EQ(parsed.rows.RowDetailText[4].size(), 256u);

    ASSERT_EQ(parsed.reminders.status, SpanResult::Status::Found);
    const auto message = BuildAlertMessage(parsed.reminders.text);
    ASSERT_TRUE(message.has_value());
    EXPECT_GT(message->size(), 4 * kFloodReminderElementBytes / 2);
}

TEST(HostilePages, SeparatorPageFitsTheBodyLimit_AndReachesTheParser) {
    const std::string body = separatorPage();
    EXPECT_LT(body.size(), HttpLimits{}.maxBodyBytes);
    EXPECT_GT(body.size(), 12u * 1024 * 1024);
    const Parsed parsed = ParsePage(body);
    ASSERT_EQ(parsed.topics.status, SpanResult::Status::Found);
    EXPECT_EQ(parsed.list.footerCaption, u"更多研讨会资料(0场)，随时点播...");
    EXPECT_EQ(parsed.list.rowsFilled, 0);
}

TEST(HostilePages, BrokenAndRandomPagesStillReachEveryRow) {
    for (const std::string& body : {invalidGbkPage(), randomPage(1), randomPage(2)}) {
        const Parsed parsed = ParsePage(body);
        ASSERT_EQ(parsed.topics.status, SpanResult::Status::Found);
        EXPECT_EQ(parsed.list.rowsFilled, 5);
        EXPECT_TRUE(parsed.list.footerCaption.has_value());
        ASSERT_EQ(parsed.reminders.status, SpanResult::Status::Found);
        EXPECT_TRUE(BuildAlertMessage(parsed.reminders.text).has_value());
    }
    // The invalid sequences arrive as replacement characters, not dropped.
    const Parsed broken = ParsePage(invalidGbkPage());
    EXPECT_NE(broken.rows.RowTitle[0].find(u'\uFFFD'), std::u16string::npos);
    EXPECT_NE(broken.rows.RowTitle[2].find(u'\0'), std::u16string::npos);
}

}  // namespace
}  // namespace talvane::hostile
