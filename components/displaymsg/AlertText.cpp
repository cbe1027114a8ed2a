#include "components/displaymsg/AlertText.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "web/ServicePages.h"
#include "web/WebAddress.h"

namespace talvane::displaymsg {

namespace {

constexpr std::u16string_view kSeparator = u"||||||";
constexpr std::u16string_view kDefaultHeading = u"会议提醒";
constexpr std::size_t kLongestEventId = 64;

// Unicode White_Space, the set a card collapses to single spaces.
bool isWhiteSpace(char16_t u) {
    return (u >= 0x09 && u <= 0x0D) || u == 0x20 || u == 0x85 || u == 0xA0 || u == 0x1680 ||
           (u >= 0x2000 && u <= 0x200A) || u == 0x2028 || u == 0x2029 || u == 0x202F ||
           u == 0x205F || u == 0x3000;
}

std::u16string plainLine(std::u16string_view text) {
    std::u16string line;
    bool pendingSpace = false;
    for (const char16_t u : text) {
        if (u < 0x20 || u == 0x7F || isWhiteSpace(u)) {
            pendingSpace = !line.empty();
            continue;
        }
        if (pendingSpace) line += u' ';
        pendingSpace = false;
        line += u;
    }
    return line;
}

std::vector<std::u16string_view> splitElements(std::u16string_view message) {
    std::vector<std::u16string_view> elements;
    for (std::size_t start = 0;;) {
        const std::size_t at = message.find(kSeparator, start);
        elements.push_back(message.substr(
            start, at == std::u16string_view::npos ? std::u16string_view::npos : at - start));
        if (at == std::u16string_view::npos) break;
        start = at + kSeparator.size();
    }
    elements.resize(std::max<std::size_t>(elements.size(), 5));
    return elements;
}

bool isEventId(std::u16string_view text) {
    if (text.empty() || text.size() > kLongestEventId) return false;
    return std::all_of(text.begin(), text.end(), [](char16_t u) {
        return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
               u == u'-' || u == u'_';
    });
}

std::u16string linkFor(std::u16string_view element, std::u16string_view clientNumber,
                       std::u16string_view serviceBaseUrl) {
    const std::optional<HttpAddress> service = ParseWebAddress(serviceBaseUrl);
    if (!service) return {};
    if (const std::optional<HttpAddress> direct = ParseWebAddress(element)) {
        return SameOrigin(*direct, *service) ? std::u16string(element) : std::u16string();
    }
    if (!isEventId(element)) return {};
    return EventPageAddress(serviceBaseUrl, element, clientNumber);
}

}  // namespace

AlertText parseAlertText(std::u16string_view message, std::u16string_view clientNumber,
                         std::u16string_view serviceBaseUrl) {
    const std::vector<std::u16string_view> elements = splitElements(message);
    AlertText text;
    text.heading = plainLine(elements[0]);
    if (text.heading.empty()) text.heading = kDefaultHeading;
    text.time = plainLine(elements[1]);
    text.title = plainLine(elements[2]);
    text.link = linkFor(plainLine(elements[3]), clientNumber, serviceBaseUrl);
    text.note = plainLine(elements[4]);
    return text;
}

PopupTiming popupTimingFrom(std::int16_t arg2, std::int16_t arg3) {
    PopupTiming timing;
    if (arg2 > 0) timing.lifetimeMs = std::clamp(arg2 * 100, 1000, 120000);
    if (arg3 >= 0) timing.bottomGap = std::min<int>(arg3, 300);
    return timing;
}

}  // namespace talvane::displaymsg
