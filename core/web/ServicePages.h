#pragma once

#include <string>
#include <string_view>

namespace talvane {

// The service's pages that the program opens in the browser, under the
// service address `base` (scheme and host, no trailing '/'). Identifiers and
// client numbers go in escaped by EscapeQueryValue, so whatever they hold
// the page opens with them.
std::u16string EventPageAddress(std::u16string_view base, std::u16string_view eventId,
                                std::u16string_view clientNumber);
std::u16string ReplayPageAddress(std::u16string_view base, std::u16string_view eventId,
                                 std::u16string_view clientNumber);
std::u16string PortalPageAddress(std::u16string_view base, std::u16string_view clientNumber);

}  // namespace talvane
