#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvane {

// Where a web address points: scheme and host in lower case, the port
// spelled out (80 and 443 when the address leaves it out).
struct WebOrigin {
    std::u16string scheme;
    std::u16string host;
    int port = 0;
    bool operator==(const WebOrigin&) const = default;
};

// The origin of an absolute http or https address with a host, read the
// strict way: no user name or password before the host, nothing but ASCII
// letters, digits, '-' and '.' in a host name (or an IPv6 address in
// brackets), a port of 1 to 65535, and no blank, control character or
// backslash anywhere, since browsers and HTTP clients disagree on what those
// mean. Anything else has no origin.
std::optional<WebOrigin> WebOriginOf(std::u16string_view url);

// True when both are web addresses with the same scheme, host and port.
bool SameOrigin(std::u16string_view url, std::u16string_view other);

}  // namespace talvane
