#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "tools/demo-service/DemoOptions.h"
#include "tools/demo-service/GbkText.h"
#include "tools/demo-service/RequestLog.h"
#include "tools/demo-service/ServicePayloads.h"

namespace talvane::demo {
namespace {

TEST(GbkText, Utf8ToGbk_EncodesChinese_AndReplacesWhatGbkCannotHold) {
    EXPECT_EQ(utf8ToGbk("研讨会 ok"), "\xD1\xD0\xCC\xD6\xBB\xE1 ok");
    EXPECT_EQ(utf8ToGbk("状　态：已结束"),
              "\xD7\xB4\xA1\xA1\xCC\xAC\xA3\xBA\xD2\xD1\xBD\xE1\xCA\xF8");
    // A character outside GBK, a stray byte, a broken sequence that must not
    // swallow the ASCII after it, and a sequence cut off at the end.
    EXPECT_EQ(utf8ToGbk("a\xF0\x9F\x99\x82"
                        "b"),
              "a?b");
    EXPECT_EQ(utf8ToGbk("a\xFF"
                        "b"),
              "a?b");
    EXPECT_EQ(utf8ToGbk("\xE4"
                        "A|"),
              "?A|");
    EXPECT_EQ(utf8ToGbk("z\xE7\xA0"), "z?");
}

TEST(ServicePayloads, EventListAndReminder_JoinFieldsWithTheirSeparators) {
    DemoData data;
    data.tag = "v";
    data.footer = "120";
    data.seminars = {{"1", "A", "2026-12-12(14:30-16:30)", false, "3", "d1\nd2"},
                     {"2", "B", "t", true, "4", ""}};
    EXPECT_EQ(eventListPayload(data),
              "v||||120||||1$$$$A$$$$2026-12-12(14:30-16:30)$$$$1$$$$3$$$$d1\nd2"
              "@@@@2$$$$B$$$$t$$$$0$$$$4$$$$");
    data.seminars.clear();
    EXPECT_EQ(eventListPayload(data), "v||||120||||");

    EXPECT_EQ(reminderPayload(Reminder{false, {"a", "", "c", "d", "e"}}), "a&&&&&&&&c&&&&d&&&&e");
    EXPECT_EQ(reminderPayload(Reminder{true, {"a", "b", "c", "d", "e"}}), "");
}

TEST(RequestLog, Line_KeepsTargetRaw_ButEscapesControlCharacters) {
    setenv("TZ", "UTC", 1);
    tzset();
    const std::time_t when = 1796652185;  // 2026-12-07 14:03:05 UTC
    EXPECT_EQ(requestLogLine(when, "GET", "/EndUsers/visit.aspx?id=unknown%20value&sjs=123"),
              "2026-12-07T14:03:05 GET /EndUsers/visit.aspx?id=unknown%20value&sjs=123");
    EXPECT_EQ(requestLogLine(when, "GET", "/a\nb\x7F"), "2026-12-07T14:03:05 GET /a%0Ab%7F");
}

TEST(DemoOptions, Parse_AcceptsEachOption_AndRejectsWhatItDoesNotKnow) {
    const auto defaults = parseDemoOptions({});
    ASSERT_TRUE(defaults.ok);
    EXPECT_EQ(defaults.options.port, 8765);
    EXPECT_EQ(defaults.options.bindAddress, "127.0.0.1");
    EXPECT_FALSE(defaults.options.dataFile || defaults.options.logFile);

    const auto all =
        parseDemoOptions({"--port", "0", "--bind", "0.0.0.0", "--data", "d.txt", "--log", "l.txt"});
    ASSERT_TRUE(all.ok) << all.error;
    EXPECT_EQ(all.options.port, 0);
    EXPECT_EQ(all.options.bindAddress, "0.0.0.0");
    EXPECT_EQ(all.options.dataFile, "d.txt");
    EXPECT_EQ(all.options.logFile, "l.txt");
    EXPECT_EQ(parseDemoOptions({"--port", "65535"}).options.port, 65535);

    const std::vector<std::pair<std::vector<std::string_view>, std::string>> bad = {
        {{"--verbose"}, "unknown option '--verbose'"},
        {{"8765"}, "unknown option '8765'"},
        {{"--log"}, "option --log needs a value"},
        {{"--data", ""}, "option --data needs a value"},
        {{"--port", "-1"}, "--port takes a number from 0 to 65535, not '-1'"},
        {{"--port", "65536"}, "--port takes a number from 0 to 65535, not '65536'"},
        {{"--port", "80x"}, "--port takes a number from 0 to 65535, not '80x'"},
    };
    for (const auto& [args, error] : bad) {
        const auto parsed = parseDemoOptions(args);
        EXPECT_FALSE(parsed.ok) << error;
        EXPECT_EQ(parsed.error, error);
    }
}

}  // namespace
}  // namespace talvane::demo
