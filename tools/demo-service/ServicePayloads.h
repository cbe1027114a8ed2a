#pragma once

#include <string>

#include "tools/demo-service/DemoData.h"

namespace talvane::demo {

// tag "||||" footer "||||" records joined by "@@@@", each record
// id "$$$$" title "$$$$" time "$$$$" flag "$$$$" registrations "$$$$" detail,
// flag "0" for an ended seminar and "1" otherwise. UTF-8.
std::string eventListPayload(const DemoData& data);

// The five elements joined by "&&&&"; the empty text for an empty turn.
std::string reminderPayload(const Reminder& reminder);

}  // namespace talvane::demo
