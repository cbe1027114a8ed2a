#include "web/WebAddress.h"

#include "web/PercentEncoding.h"

namespace talvane {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Lower(c);
    return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return Lower(c) >= 'a' && Lower(c) <= 'z'; }
bool IsHostNameChar(char c) { return IsDigit(c) || IsLetter(c) || c == '-' || c == '.'; }
bool IsIpv6Char(char c) {
    return IsDigit(c) || (Lower(c) >= 'a' && Lower(c) <= 'f') || c == ':' || c == '.';
}

int DefaultPort(std::string_view scheme) { return scheme == "https" ? 443 : 80; }

// "scheme:" at the start of `text`, lower case; "" when there is none.
std::string SchemeOf(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) return {};
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool digitOrSign = IsDigit(c) || c == '+' || c == '-' || c == '.';
        if (!IsLetter(c) && !(i > 0 && digitOrSign)) return {};
    }
    return Lowered(text.substr(0, colon));
}

// The host, lower case and without a trailing dot; "" when it is no host.
std::string HostOf(std::string_view host) {
    if (!host.empty() && host.front() == '[') {
        if (host.size() < 3 || host.back() != ']') return {};
        for (const char c : host.substr(1, host.size() - 2)) {
            if (!IsIpv6Char(c)) return {};
        }
        return Lowered(host);
    }
    for (const char c : host) {
        if (!IsHostNameChar(c)) return {};
    }
    if (host.find_first_not_of('.') == std::string_view::npos) return {};
    std::string name = Lowered(host);
    if (name.back() == '.') name.pop_back();
    return name;
}

// 1 to 65535; the default for no digits at all; 0 when it is no port.
int PortOf(std::string_view digits, int defaultPort) {
    if (digits.empty()) return defaultPort;
    if (digits.size() > 5) return 0;
    int value = 0;
    for (const char c : digits) {
        if (!IsDigit(c)) return 0;
        value = value * 10 + (c - '0');
    }
    return value <= 65535 ? value : 0;
}

bool IsForbiddenAsItIs(char16_t c) {
    return c <= u' ' || c == 0x7F ||
           std::u16string_view(u"\"<>\\^`{|}").find(c) != std::u16string_view::npos;
}

}  // namespace

std::string HttpAddress::toString() const {
    std::string out = scheme + "://" + host;
    if (port != DefaultPort(scheme)) out += ":" + std::to_string(port);
    return out + target;
}

std::optional<HttpAddress> ParseHttpAddress(std::string_view wire) {
    for (const char c : wire) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) return std::nullopt;
    }
    HttpAddress address;
    address.scheme = SchemeOf(wire);
    if (address.scheme != "http" && address.scheme != "https") return std::nullopt;
    std::string_view rest = wire.substr(address.scheme.size() + 1);
    if (rest.substr(0, 2) != "//") return std::nullopt;
    rest.remove_prefix(2);
    const auto authorityEnd = rest.find_first_of("/?#");
    const std::string_view authority = rest.substr(0, authorityEnd);
    if (authority.find('@') != std::string_view::npos) return std::nullopt;

    // The port's colon is the last one outside an IPv6 literal's brackets.
    const auto bracket = authority.rfind(']');
    auto colon = authority.rfind(':');
    if (colon != std::string_view::npos && bracket != std::string_view::npos && colon < bracket) {
        colon = std::string_view::npos;
    }
    address.host = HostOf(authority.substr(0, colon));
    if (address.host.empty()) return std::nullopt;
    address.port =
        PortOf(colon == std::string_view::npos ? std::string_view() : authority.substr(colon + 1),
               DefaultPort(address.scheme));
    if (address.port == 0) return std::nullopt;

    std::string_view target =
        authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);
    address.target = std::string(target.substr(0, target.find('#')));
    if (address.target.empty() || address.target[0] == '?') address.target.insert(0, "/");
    return address;
}

std::optional<HttpAddress> ParseWebAddress(std::u16string_view url) {
    for (const char16_t c : url) {
        if (IsForbiddenAsItIs(c)) return std::nullopt;
    }
    return ParseHttpAddress(WireUrl(url));
}

bool IsOpenableWebAddress(std::u16string_view url) { return ParseWebAddress(url).has_value(); }

std::optional<HttpAddress> ResolveLocation(const HttpAddress& base, std::string_view location) {
    if (!SchemeOf(location).empty()) return ParseHttpAddress(location);
    if (location.substr(0, 2) == "//") {
        return ParseHttpAddress(base.scheme + ":" + std::string(location));
    }
    HttpAddress next = base;
    if (location.empty()) return next;
    for (const char c : location) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) return std::nullopt;
    }
    if (location[0] == '/') {
        next.target = std::string(location);
    } else if (location[0] == '?') {
        next.target = base.target.substr(0, base.target.find('?')) + std::string(location);
    } else {
        const std::string path = base.target.substr(0, base.target.find('?'));
        next.target = path.substr(0, path.rfind('/') + 1) + std::string(location);
    }
    next.target = next.target.substr(0, next.target.find('#'));
    return next;
}

bool SameOrigin(const HttpAddress& a, const HttpAddress& b) {
    return a.scheme == b.scheme && a.host == b.host && a.port == b.port;
}

std::string OriginKey(const HttpAddress& address) {
    return address.scheme + "://" + address.host + ":" + std::to_string(address.port);
}

bool SameOrigin(std::u16string_view url, std::u16string_view other) {
    const std::optional<HttpAddress> a = ParseWebAddress(url);
    const std::optional<HttpAddress> b = ParseWebAddress(other);
    return a && b && SameOrigin(*a, *b);
}

}  // namespace talvane
