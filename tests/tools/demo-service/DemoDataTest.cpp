#include "tools/demo-service/DemoData.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace talvane::demo {
namespace {

const char* const kService = "[service]\ntag = T\nfooter = 9\n";

TEST(DemoData, ShippedFile_OffersWhatTheDemoNeeds) {
    const auto loaded = loadDemoDataFile(TALVANE_DEMO_SHIPPED_DATA);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    const auto& seminars = loaded.data.seminars;
    EXPECT_GE(seminars.size(), 7u);
    EXPECT_TRUE(
        std::any_of(seminars.begin(), seminars.begin() + 5, [](auto& s) { return s.ended; }));
    EXPECT_TRUE(
        std::any_of(seminars.begin(), seminars.begin() + 5, [](auto& s) { return !s.ended; }));
    // The panel shortens titles of more than 32 UTF-16 units; the demo
    // titles here are all in the BMP, so three UTF-8 bytes per character.
    EXPECT_GE(std::count_if(seminars.begin(), seminars.end(),
                            [](auto& s) { return s.title.size() > 32 * 3; }),
              2);
    EXPECT_TRUE(std::any_of(loaded.data.reminders.begin(), loaded.data.reminders.end(),
                            [](auto& r) { return !r.empty && r.elements[2].size() > 16 * 3; }));
}

TEST(DemoData, Parse_JoinsDetailLines_AndToleratesBomCrlfAndComments) {
    const auto parsed = parseDemoData(
        "\xEF\xBB\xBF# comment\r\n; another\r\n[service]\r\ntag = v2 \r\nfooter=120\r\n\r\n"
        "[seminar]\r\nid = 7\r\ntitle = a = b # kept\r\ntime = t\r\nended = yes\r\n"
        "detail = one\r\ndetail = two\r\n[no-reminder]\r\n");
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.data.tag, "v2");
    EXPECT_EQ(parsed.data.footer, "120");
    ASSERT_EQ(parsed.data.seminars.size(), 1u);
    const Seminar& seminar = parsed.data.seminars[0];
    EXPECT_EQ(seminar.title, "a = b # kept");
    EXPECT_TRUE(seminar.ended);
    EXPECT_EQ(seminar.registrations, "0");
    EXPECT_EQ(seminar.detail, "one\ntwo");
    ASSERT_EQ(parsed.data.reminders.size(), 1u);
    EXPECT_TRUE(parsed.data.reminders[0].empty);
}

TEST(DemoData, Parse_NamesTheLineOfEachMistake) {
    const std::string seminar = "[seminar]\nid = 1\ntitle = t\ntime = x\nended = no\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[service]\ntag = T\n", "line 1: [service] lacks \"footer\""},
        {"tag = T\n", "line 1: key outside a block"},
        {std::string(kService) + "[events]\n", "line 4: unknown section [events]"},
        {std::string(kService) + "colour = red\n", "line 4: unknown key \"colour\" in [service]"},
        {std::string(kService) + "tag = U\n", "line 4: key \"tag\" given twice"},
        {std::string(kService) + "just text\n", "line 4: expected key = value"},
        {std::string(kService) + "[seminar]\nid = 1\nended = maybe\n",
         "line 4: [seminar] lacks \"title\""},
        {std::string(kService) + seminar + "ended = no\n", "line 9: key \"ended\" given twice"},
        {std::string(kService) + "[seminar]\nid = 1\ntitle = t\ntime = x\nended = maybe\n",
         "line 8: ended is yes or no"},
        {std::string(kService) + seminar + "detail = a$$$$b\n", "line 9: value contains \"$$$$\""},
        {std::string(kService) + seminar + "registrations = 5|\n", "line 9: value ends with '|'"},
        {std::string(kService) + seminar + "detail = x</SPAN>\n",
         "line 9: value contains \"</span\""},
        {"[reminder]\nheading = h\ntime = t\nseminar = s\nlink = l\nnote = n&&&&x\n",
         "line 6: value contains \"&&&&\""},
        {"[no-reminder]\n", "no [service] block"},
    };
    for (const auto& [text, error] : cases) {
        const auto parsed = parseDemoData(text);
        EXPECT_FALSE(parsed.ok) << text;
        EXPECT_EQ(parsed.error, error) << text;
    }
}

}  // namespace
}  // namespace talvane::demo
