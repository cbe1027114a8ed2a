#pragma once

#include <string>
#include <string_view>

namespace talvane::demo {

// The pages the notifier downloads, UTF-8. The payload goes into
// <span id="lblTopics"> / <span id="lblReminders"> exactly as given: the
// notifier reads the raw text after the marker and its closing `">`, so
// neither the markup around it nor the payload may be escaped or reshaped.
std::string eventListPage(std::string_view payload);
std::string reminderPage(std::string_view payload);
std::string visitPage();

}  // namespace talvane::demo
