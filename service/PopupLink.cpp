#include "service/PopupLink.h"

#include "service/QueryEscape.h"
#include "service/WebAddress.h"

namespace talvane {

namespace {

constexpr std::size_t kLongestEventId = 64;
constexpr std::u16string_view kEventPage = u"/endusers/meeting_view.aspx?FRM=Software&EventID=";

bool IsEventId(std::u16string_view text) {
    if (text.empty() || text.size() > kLongestEventId) return false;
    for (const char16_t c : text) {
        const bool allowed = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') ||
                             (c >= u'a' && c <= u'z') || c == u'-' || c == u'_';
        if (!allowed) return false;
    }
    return true;
}

}  // namespace

std::u16string PopupLinkFor(std::u16string_view element, std::u16string_view clientNumber,
                            std::u16string_view serviceBaseUrl) {
    if (!WebOriginOf(serviceBaseUrl)) return {};
    if (SameOrigin(element, serviceBaseUrl)) return std::u16string(element);
    if (!IsEventId(element)) return {};
    // The client number is escaped whole: one holding '&', '#' or '+' must
    // not change the address's structure.
    std::u16string page(serviceBaseUrl);
    page.append(kEventPage).append(element).append(u"&id=").append(EscapeQueryValue(clientNumber));
    return page;
}

}  // namespace talvane
