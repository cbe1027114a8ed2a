#pragma once

#include <string>
#include <string_view>

namespace talvane {

// Where a click on a reminder's popup leads, from the reminder's link
// element; empty for nowhere. Only the service's own pages are opened:
//   - an event identifier (1 to 64 ASCII letters, digits, '-' and '_')
//     becomes the service's event page for it and the client number;
//   - an absolute web address on the service's origin (scheme, host and
//     port of serviceBaseUrl) is opened as it stands;
//   - anything else (another host, another scheme, a bare path, free text)
//     leads nowhere, as does everything when serviceBaseUrl is no web
//     address.
// The popup components of every platform share the rule.
std::u16string PopupLinkFor(std::u16string_view element, std::u16string_view clientNumber,
                            std::u16string_view serviceBaseUrl);

}  // namespace talvane
