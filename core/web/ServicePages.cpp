#include "web/ServicePages.h"

#include "web/PercentEncoding.h"

namespace talvane {

namespace {

std::u16string EventAddress(std::u16string_view base, std::u16string_view page,
                            std::u16string_view eventId, std::u16string_view clientNumber) {
    std::u16string url(base);
    url.append(page);
    url.append(u"?FRM=Software&EventID=");
    url.append(EscapeQueryValue(eventId));
    url.append(u"&id=");
    url.append(EscapeQueryValue(clientNumber));
    return url;
}

}  // namespace

std::u16string EventPageAddress(std::u16string_view base, std::u16string_view eventId,
                                std::u16string_view clientNumber) {
    return EventAddress(base, u"/endusers/meeting_view.aspx", eventId, clientNumber);
}

std::u16string ReplayPageAddress(std::u16string_view base, std::u16string_view eventId,
                                 std::u16string_view clientNumber) {
    return EventAddress(base, u"/endusers/WebinarPlayBack.aspx", eventId, clientNumber);
}

std::u16string PortalPageAddress(std::u16string_view base, std::u16string_view clientNumber) {
    return std::u16string(base) + u"/endusers/Index.aspx?FRM=Software&sysID=" +
           EscapeQueryValue(clientNumber);
}

}  // namespace talvane
