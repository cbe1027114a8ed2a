#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvane {

// An absolute http or https address taken apart, as every HTTP client needs
// it: to refuse other schemes before anything goes out, to compare the
// origin of a redirect with the first request's, and to build requests
// where the system's API wants the pieces.
struct HttpAddress {
    std::string scheme;  // "http" or "https", lower case
    std::string host;    // lower case; an IPv6 literal keeps its brackets
    int port = 0;        // the scheme's default when the address names none
    std::string target;  // path and query as on the wire, "/" at least; no fragment

    std::string toString() const;  // the port only when it is not the default
};

// The address as it goes on the wire: UTF-8, with what cannot go on the wire
// percent-encoded (controls, space, DEL, every byte of a non-ASCII
// character; an unpaired surrogate counts as U+FFFD). Everything else, '%'
// included, stays as the program built it.
std::string WireUrl(std::u16string_view url);

// nullopt unless `wire` is an absolute http or https address with a host.
// User information ("user@host") is refused: the program never builds it,
// and it would hide the real host from a reader of the logs.
std::optional<HttpAddress> ParseHttpAddress(std::string_view wire);

// A redirect's Location resolved against the address that answered it:
// absolute, scheme-relative ("//host/..."), absolute-path or relative.
// nullopt when the result is not an http or https address.
std::optional<HttpAddress> ResolveLocation(const HttpAddress& base, std::string_view location);

// Scheme, host and port all alike.
bool SameOrigin(const HttpAddress& a, const HttpAddress& b);

}  // namespace talvane
