#include "service/WebAddress.h"

namespace talvane {

namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsHostNameUnit(char16_t c) {
    return IsDigit(c) || (Lower(c) >= u'a' && Lower(c) <= u'z') || c == u'-' || c == u'.';
}

bool IsIpv6Unit(char16_t c) {
    return IsDigit(c) || (Lower(c) >= u'a' && Lower(c) <= u'f') || c == u':' || c == u'.';
}

std::u16string Lowered(std::u16string_view text) {
    std::u16string lower;
    for (const char16_t c : text) lower.push_back(Lower(c));
    return lower;
}

std::optional<int> PortOf(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    int port = 0;
    for (const char16_t c : digits) {
        if (!IsDigit(c)) return std::nullopt;
        port = port * 10 + (c - u'0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

}  // namespace

std::optional<WebOrigin> WebOriginOf(std::u16string_view url) {
    for (const char16_t c : url) {
        if (c <= u' ' || c == 0x7F || c == u'\\') return std::nullopt;
    }
    const std::size_t colon = url.find(u"://");
    if (colon == std::u16string_view::npos) return std::nullopt;
    WebOrigin origin;
    origin.scheme = Lowered(url.substr(0, colon));
    int defaultPort = 0;
    if (origin.scheme == u"http") {
        defaultPort = 80;
    } else if (origin.scheme == u"https") {
        defaultPort = 443;
    } else {
        return std::nullopt;
    }

    std::u16string_view authority = url.substr(colon + 3);
    authority = authority.substr(0, authority.find_first_of(u"/?#"));
    if (authority.find(u'@') != std::u16string_view::npos) return std::nullopt;

    std::u16string_view host = authority;
    std::u16string_view port;
    if (!authority.empty() && authority.front() == u'[') {
        const std::size_t close = authority.find(u']');
        if (close == std::u16string_view::npos) return std::nullopt;
        host = authority.substr(0, close + 1);
        const std::u16string_view rest = authority.substr(close + 1);
        if (!rest.empty() && rest.front() != u':') return std::nullopt;
        if (!rest.empty()) port = rest.substr(1);
        const std::u16string_view inside = host.substr(1, host.size() - 2);
        if (inside.empty()) return std::nullopt;
        for (const char16_t c : inside) {
            if (!IsIpv6Unit(c)) return std::nullopt;
        }
    } else {
        const std::size_t portColon = authority.find(u':');
        if (portColon != std::u16string_view::npos) {
            host = authority.substr(0, portColon);
            port = authority.substr(portColon + 1);
        }
        for (const char16_t c : host) {
            if (!IsHostNameUnit(c)) return std::nullopt;
        }
        // A host of dots alone names nothing.
        if (host.find_first_not_of(u'.') == std::u16string_view::npos) return std::nullopt;
    }
    if (host.empty()) return std::nullopt;
    origin.host = Lowered(host);
    // A trailing dot names the same host ("example.com." is "example.com").
    if (origin.host.back() == u'.') origin.host.pop_back();

    if (authority.size() > host.size()) {
        // A colon with no port after it is allowed by the URL rules; it means the default.
        if (port.empty()) {
            origin.port = defaultPort;
        } else if (const std::optional<int> number = PortOf(port)) {
            origin.port = *number;
        } else {
            return std::nullopt;
        }
    } else {
        origin.port = defaultPort;
    }
    return origin;
}

bool SameOrigin(std::u16string_view url, std::u16string_view other) {
    const std::optional<WebOrigin> a = WebOriginOf(url);
    const std::optional<WebOrigin> b = WebOriginOf(other);
    return a && b && *a == *b;
}

}  // namespace talvane
