#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace talvane::demo {

struct Seminar {
    std::string id;
    std::string title;
    std::string time;
    bool ended = false;
    std::string registrations;
    std::string detail;  // lines joined with '\n'
};

// A turn of the reminder rotation; an empty turn serves an empty span.
struct Reminder {
    bool empty = false;
    std::array<std::string, 5> elements;  // heading, time, seminar, link, note
};

struct DemoData {
    std::string tag;     // first element of the event-list payload
    std::string footer;  // the count shown in the panel's footer
    std::vector<Seminar> seminars;
    std::vector<Reminder> reminders;

    const Seminar* findSeminar(std::string_view id) const;
};

struct DemoDataResult {
    bool ok = false;
    DemoData data;
    std::string error;  // "line N: ..." when !ok
};

// Text of a data file (UTF-8; the format is described in demo-data.txt).
DemoDataResult parseDemoData(std::string_view text);

DemoDataResult loadDemoDataFile(const std::string& path);

}  // namespace talvane::demo
