#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "components/FormObject.h"
#include "platform/PopupComponents.h"
#include "service/ReminderHold.h"
#include "service/ServiceContext.h"

namespace talvane {

inline constexpr char kDisplayMsgProgId[] = "Flarebox.DisplayMsg";

// How one reminder poll ended. The poll is silent either way; the outcome is
// for tests and a debug log.
enum class ReminderOutcome {
    FetchFailed,       // the request failed
    NotFound,          // the page has no "lblReminders"
    CutFailed,         // the span behind the marker could not be cut
    TooShort,          // fewer than 10 characters
    TooFewElements,    // fewer than five "&&&&" elements
    ComponentMissing,  // the popup component is not installed or not creatable
    ComponentFailed,   // DisplayAlert reported an error
    Shown,
    Held,  // the user may not be interrupted: the reminder waits

};

std::string_view ReminderOutcomeName(ReminderOutcome outcome);

// Fetches the reminder page and hands a reminder to a new popup component,
// or to hold while the user may not be interrupted. Never throws. The
// component gets copies of the client number and the message, so nothing
// it does to them reaches the caller.
ReminderOutcome CheckReminders(const ServiceContext& ctx, const std::u16string& sysNumber,
                               PopupComponents& components, FormObject* window,
                               ReminderHold* hold = nullptr);

// Reformats text into the alert message and passes it to a new
// "Flarebox.DisplayMsg" object, which is released before returning.
ReminderOutcome ShowReminder(const std::u16string& text, const std::u16string& sysNumber,
                             PopupComponents& components, FormObject* window);

// Splits text at "&&&&", shortens element 2 to 15 characters + "..." when it
// is longer than 16 (one fewer when the cut would split a surrogate pair),
// and joins elements 0 to 4 with "||||||". nullopt when there are fewer than
// five elements.
std::optional<std::u16string> BuildAlertMessage(std::u16string_view text);

}  // namespace talvane
