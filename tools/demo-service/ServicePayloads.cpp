#include "tools/demo-service/ServicePayloads.h"

namespace talvane::demo {

std::string eventListPayload(const DemoData& data) {
    std::string records;
    for (const Seminar& seminar : data.seminars) {
        if (!records.empty()) records += "@@@@";
        records += seminar.id + "$$$$" + seminar.title + "$$$$" + seminar.time + "$$$$" +
                   (seminar.ended ? "0" : "1") + "$$$$" + seminar.registrations + "$$$$" +
                   seminar.detail;
    }
    return data.tag + "||||" + data.footer + "||||" + records;
}

std::string reminderPayload(const Reminder& reminder) {
    if (reminder.empty) return {};
    std::string text = reminder.elements[0];
    for (std::size_t i = 1; i < reminder.elements.size(); ++i) {
        text += "&&&&" + reminder.elements[i];
    }
    return text;
}

}  // namespace talvane::demo
