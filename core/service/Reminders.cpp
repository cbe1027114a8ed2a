#include "service/Reminders.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "service/PageFetch.h"
#include "service/Utf16Text.h"

namespace talvane {

namespace {

constexpr std::u16string_view kElementSeparator = u"&&&&";
constexpr std::u16string_view kMessageSeparator = u"||||||";
constexpr std::u16string_view kReminderMarker = u"lblReminders";
constexpr std::size_t kMinimumTextLength = 10;
constexpr std::size_t kElementsUsed = 5;
constexpr std::size_t kLongestPlainElement2 = 16;
constexpr std::size_t kShortenedElement2 = 15;
constexpr std::int16_t kDisplayAlertArg2 = 103;
constexpr std::int16_t kDisplayAlertArg3 = 50;

std::u16string shortenElement2(std::u16string_view element) {
    if (element.size() <= kLongestPlainElement2) return std::u16string(element);
    // Half a character would reach the popup as a broken glyph.
    std::u16string shortened(LeadingUnits(element, kShortenedElement2));
    shortened += u"...";
    return shortened;
}

}  // namespace

std::string_view ReminderOutcomeName(ReminderOutcome outcome) {
    switch (outcome) {
        case ReminderOutcome::FetchFailed:
            return "fetch failed";
        case ReminderOutcome::NotFound:
            return "no reminder marker";
        case ReminderOutcome::CutFailed:
            return "span could not be cut";
        case ReminderOutcome::TooShort:
            return "text too short";
        case ReminderOutcome::TooFewElements:
            return "fewer than five elements";
        case ReminderOutcome::ComponentMissing:
            return "popup component missing";
        case ReminderOutcome::ComponentFailed:
            return "popup component failed";
        case ReminderOutcome::Shown:
            return "shown";
        case ReminderOutcome::Held:
            return "held while the user is busy";
    }
    return "unknown";
}

std::optional<std::u16string> BuildAlertMessage(std::u16string_view text) {
    const auto elements = LeadingPieces(text, kElementSeparator, kElementsUsed);
    if (elements.size() < kElementsUsed) return std::nullopt;
    std::u16string message;
    for (std::size_t i = 0; i < kElementsUsed; ++i) {
        if (i > 0) message += kMessageSeparator;
        message += i == 2 ? shortenElement2(elements[i]) : std::u16string(elements[i]);
    }
    return message;
}

ReminderOutcome ShowReminder(const std::u16string& text, const std::u16string& sysNumber,
                             PopupComponents& components, FormObject* window) {
    try {
        std::optional<std::u16string> message = BuildAlertMessage(text);
        if (!message) return ReminderOutcome::TooFewElements;

        CreatedObject popup = components.create(kDisplayMsgProgId);
        if (!popup.result.ok() || !popup.object) return ReminderOutcome::ComponentMissing;

        const ComponentResult shown = popup.object->DisplayAlert(
            sysNumber, kDisplayAlertArg2, kDisplayAlertArg3, *message, window);
        popup.object.reset();
        return shown.ok() ? ReminderOutcome::Shown : ReminderOutcome::ComponentFailed;
    } catch (const std::exception&) {
        return ReminderOutcome::ComponentFailed;
    } catch (...) {
        return ReminderOutcome::ComponentFailed;
    }
}

ReminderOutcome CheckReminders(const ServiceContext& ctx, const std::u16string& sysNumber,
                               PopupComponents& components, FormObject* window,
                               ReminderHold* hold) {
    std::u16string text;
    try {
        const std::int16_t n = NewCacheBuster(ctx.random);
        const std::u16string url = ctx.baseUrl + u"/EndUsers/ClientReminderNew.aspx?id=" +
                                   sysNumber + u"&sjs=" + DecimalText(n);
        const PageResult page = FetchPage(ctx.http, ctx.codePage, url);
        if (!page.ok()) return ReminderOutcome::FetchFailed;

        SpanResult span = ExtractSpanText(page.text, kReminderMarker);
        switch (span.status) {
            case SpanResult::Status::NotFound:
                return ReminderOutcome::NotFound;
            case SpanResult::Status::Error:
                return ReminderOutcome::CutFailed;
            case SpanResult::Status::Found:
                break;
        }
        text = std::move(span.text);
    } catch (...) {
        return ReminderOutcome::FetchFailed;
    }
    if (text.size() < kMinimumTextLength) return ReminderOutcome::TooShort;
    if (hold != nullptr && hold->keep(text)) return ReminderOutcome::Held;
    return ShowReminder(text, sysNumber, components, window);
}

}  // namespace talvane
