#include "tools/hostile-service/HostilePages.h"

#include <random>

namespace talvane::hostile {
namespace {

// GBK bytes of a few words, so that titles look like the service's own.
constexpr std::string_view kTitleWord = "\xB1\xEA\xCC\xE2";        // 标题
constexpr std::string_view kDetailWord = "\xCF\xEA\xC7\xE9";       // 详情
constexpr std::string_view kSeminar = "\xD1\xD0\xCC\xD6\xBB\xE1";  // 研讨会
constexpr std::string_view kRemind = "\xCC\xE1\xD0\xD1";           // 提醒

std::string repeated(std::string_view word, std::size_t bytes) {
    std::string text;
    text.reserve(bytes);
    while (text.size() + word.size() <= bytes) text += word;
    return text;
}

std::string record(std::string_view id, std::string_view title, std::string_view time,
                   std::string_view flag, std::string_view count, std::string_view detail) {
    std::string text;
    for (const std::string_view field : {id, title, time, flag, count}) {
        text.append(field).append("$$$$");
    }
    return text.append(detail);
}

// Five events and a reminder whose link element is `link`.
std::string pageWithReminderLink(std::string_view link) {
    std::string records;
    for (int i = 0; i < 5; ++i) {
        if (i > 0) records += "@@@@";
        records += record("E" + std::to_string(i), std::string(kSeminar) + std::to_string(i),
                          "2026-12-09(14:30-16:30)", i % 2 == 0 ? "1" : "0", "12",
                          std::string(kDetailWord));
    }
    return servicePage("tag||||5||||" + records,
                       std::string(kRemind) + "&&&&2026-12-09 14:30&&&&" + std::string(kSeminar) +
                           "&&&&" + std::string(link) + "&&&&" + std::string(kDetailWord));
}

}  // namespace

std::string httpHead(std::string_view status, std::size_t contentLength) {
    return "HTTP/1.1 " + std::string(status) +
           "\r\nContent-Type: text/html; charset=gbk\r\nContent-Length: " +
           std::to_string(contentLength) + "\r\nConnection: close\r\n\r\n";
}

std::string servicePage(std::string_view topics, std::string_view reminders) {
    std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">"
        "</head><body><form id=\"form1\">\n<span id=\"lblTopics\">";
    page.append(topics);
    page.append("</span>\n<span id=\"lblReminders\">");
    page.append(reminders);
    page.append("</span>\n</form></body></html>\n");
    return page;
}

std::string ordinaryPage() { return pageWithReminderLink("E0"); }

std::string foreignLinkPage(std::string_view otherOrigin) {
    return pageWithReminderLink(std::string(otherOrigin) +
                                "/endusers/meeting_view.aspx?FRM=Software&EventID=E0");
}

std::string floodPage() {
    std::string topics = "tag||||" + std::to_string(kFloodRecords) + "||||";
    const std::string title = repeated(kTitleWord, kFloodTitleBytes);
    const std::string detail = repeated(kDetailWord, kFloodDetailBytes);
    for (std::size_t i = 0; i < kFloodRecords; ++i) {
        if (i > 0) topics += "@@@@";
        const std::string id = "F" + std::to_string(i);
        if (i < kFloodLargeRecords) {
            topics += record(id, title, "2026-12-09(14:30-16:30)", i % 2 == 0 ? "1" : "0", "99999",
                             detail);
        } else {
            topics += record(id, kSeminar, "2026-12-09", "1", "1", kDetailWord);
        }
    }
    const std::string element = repeated(kRemind, kFloodReminderElementBytes);
    std::string reminders;
    for (std::size_t i = 0; i < 5 + kFloodReminderElements; ++i) {
        if (i > 0) reminders += "&&&&";
        reminders += i < 5 ? element : std::string(kRemind);
    }
    return servicePage(topics, reminders);
}

std::string separatorPage() {
    std::string topics = "tag||||0||||";
    for (int i = 0; i < 2'000'000; ++i) topics += "@@@@";
    for (int i = 0; i < 1'000'000; ++i) topics += "||||";
    std::string reminders;
    for (int i = 0; i < 250'000; ++i) reminders += "&&&&";
    return servicePage(topics, reminders);
}

std::string invalidGbkPage() {
    using namespace std::string_literals;
    // A lead byte swallows the 'l' of this first marker, so the span that
    // counts is the one further down.
    std::string page = "<p>\x81lblTopics\"></p>\n";
    // Each field ends in a byte that no lead byte takes with it, so the
    // separators survive and every row shows its broken text.
    const std::string titles[5] = {
        "\x80\xFF stray bytes.",
        "lead before control \x81\x01\x81\x7F end.",
        "NUL \x00 inside."s,
        "\xA1 lone lead, then a pair \xD6\xD0.",
        "\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE"
        "\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFE\xFF.",
    };
    std::string records;
    for (int i = 0; i < 5; ++i) {
        if (i > 0) records += "@@@@";
        records += record("G\x81" + std::to_string(i) + "\xFF", titles[i], "2026-12\xA1-09\x81\xFF",
                          i % 2 == 0 ? "\x81\xFF" : "0", "\xFF", "detail \x80\x81\x02 end.");
    }
    // A lead byte right before "</span>": '<' is no trail byte, so the span
    // still ends there.
    records += "\x81";
    page +=
        servicePage("tag\xFF||||\xA0\xFF||||" + records,
                    "\x81\xFF&&&&\xFF\xFF&&&&\x80\x80\x80\x80\x80\x80\x80\x80\x80\x80\x80\x80\x80"
                    "\x80\x80\x80\x80&&&&x\x00y&&&&\x81"s);
    page += "\x81";  // a lead byte that the end of the body cuts off
    return page;
}

std::string randomPage(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    // Random bytes in every field, each closed by an ASCII byte so that a
    // lead byte at its end cannot take the separator's first character.
    const auto field = [&] { return randomBytes(random(), random() % 200) + "."; };
    std::string topics = field() + "||||" + field() + "||||";
    for (int r = 0; r < 8; ++r) {
        if (r > 0) topics += "@@@@";
        for (int f = 0; f < 6; ++f) {
            if (f > 0) topics += "$$$$";
            topics += f == 3 && r % 2 == 0 ? "0" : field();
        }
    }
    std::string reminders;
    for (int e = 0; e < 5; ++e) {
        if (e > 0) reminders += "&&&&";
        reminders += field();
    }
    return servicePage(topics, reminders);
}

std::string randomBytes(std::uint64_t seed, std::size_t count) {
    std::mt19937_64 random(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

}  // namespace talvane::hostile
