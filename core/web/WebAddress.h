#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvane {

// An absolute http or https address taken apart: the one reading of web
// addresses that the service, the HTTP clients, the openers and the popups
// share, so that none of them accepts what another refuses.
struct HttpAddress {
    std::string scheme;  // "http" or "https", lower case
    std::string host;    // lower case, no trailing dot; an IPv6 literal keeps its brackets
    int port = 0;        // the scheme's default when the address names none
    std::string target;  // path and query as on the wire, "/" at least; no fragment

    std::string toString() const;  // the port only when it is not the default
};

// An address on the wire (ASCII, as WireUrl makes it, or a Location as a
// server sent it). nullopt unless it is an absolute http or https address
// with a host:
// - user information ("user@host") is refused: the program never builds it,
//   and it would hide the real host from a reader;
// - a host name holds ASCII letters, digits, '-' and '.' only, not dots
//   alone; a trailing dot names the same host and is dropped; an IPv6
//   literal needs its closing bracket;
// - a port is 1 to 65535; "host:" with no digits means the default, as in
//   every browser;
// - no control character or blank anywhere.
std::optional<HttpAddress> ParseHttpAddress(std::string_view wire);

// An address as the program builds it or a user gives it: refused as well
// when it holds a character that an address never holds as it is (control,
// blank, DEL, '"', '<', '>', '\', '^', '`', '{', '|', '}'), since handlers
// and clients disagree on what those mean; non-ASCII text after the host is
// kept and goes on the wire escaped.
std::optional<HttpAddress> ParseWebAddress(std::u16string_view url);

// What an Opener accepts: exactly what ParseWebAddress reads.
bool IsOpenableWebAddress(std::u16string_view url);

// A redirect's Location resolved against the address that answered it:
// absolute, scheme-relative ("//host/..."), absolute-path or relative.
// nullopt when the result is not an http or https address.
std::optional<HttpAddress> ResolveLocation(const HttpAddress& base, std::string_view location);

// Scheme, host and port all alike.
bool SameOrigin(const HttpAddress& a, const HttpAddress& b);
bool SameOrigin(std::u16string_view url, std::u16string_view other);
// The origin as one text ("http://host:80"), equal exactly where SameOrigin
// holds: the key of what a client keeps per origin.
std::string OriginKey(const HttpAddress& address);

}  // namespace talvane
