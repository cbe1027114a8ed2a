#include "platform/http/HttpAddress.h"

namespace talvane {

namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

int defaultPort(std::string_view scheme) { return scheme == "https" ? 443 : 80; }

// "scheme:" at the start of `text`, lower case; "" when there is none.
std::string schemeOf(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) return {};
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digitOrSign = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!alpha && !(i > 0 && digitOrSign)) return {};
    }
    return lower(text.substr(0, colon));
}

}  // namespace

std::string HttpAddress::toString() const {
    std::string out = scheme + "://" + host;
    if (port != defaultPort(scheme)) out += ":" + std::to_string(port);
    return out + target;
}

std::string WireUrl(std::u16string_view url) {
    std::string utf8;
    utf8.reserve(url.size());
    for (std::size_t i = 0; i < url.size(); ++i) {
        const char16_t unit = url[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < url.size() && url[i + 1] >= 0xDC00 &&
            url[i + 1] <= 0xDFFF) {
            appendUtf8(utf8, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (url[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(utf8, 0xFFFD);
        } else {
            appendUtf8(utf8, unit);
        }
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string wire;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            wire.push_back('%');
            wire.push_back(kHex[byte >> 4]);
            wire.push_back(kHex[byte & 0x0F]);
        } else {
            wire.push_back(c);
        }
    }
    return wire;
}

std::optional<HttpAddress> ParseHttpAddress(std::string_view wire) {
    HttpAddress address;
    address.scheme = schemeOf(wire);
    if (address.scheme != "http" && address.scheme != "https") return std::nullopt;
    std::string_view rest = wire.substr(address.scheme.size() + 1);
    if (rest.substr(0, 2) != "//") return std::nullopt;
    rest.remove_prefix(2);
    const auto authorityEnd = rest.find_first_of("/?#");
    const std::string_view authority = rest.substr(0, authorityEnd);
    if (authority.find('@') != std::string_view::npos) return std::nullopt;

    std::string_view host = authority;
    std::string_view port;
    const auto bracket = authority.rfind(']');
    const auto colon = authority.rfind(':');
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (host.empty()) return std::nullopt;
    address.host = lower(host);
    address.port = defaultPort(address.scheme);
    if (!port.empty()) {
        if (port.size() > 5) return std::nullopt;
        int value = 0;
        for (const char c : port) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (value == 0 || value > 65535) return std::nullopt;
        address.port = value;
    }

    std::string_view target =
        authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);
    target = target.substr(0, target.find('#'));
    address.target = std::string(target);
    if (address.target.empty() || address.target[0] == '?') address.target.insert(0, "/");
    return address;
}

std::optional<HttpAddress> ResolveLocation(const HttpAddress& base, std::string_view location) {
    if (!schemeOf(location).empty()) return ParseHttpAddress(location);
    if (location.substr(0, 2) == "//")
        return ParseHttpAddress(base.scheme + ":" + std::string(location));
    HttpAddress next = base;
    if (location.empty()) return next;
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

}  // namespace talvane
