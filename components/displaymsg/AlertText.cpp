#include "components/displaymsg/AlertText.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace talvane::displaymsg {

namespace {

constexpr std::u16string_view kSeparator = u"||||||";
constexpr std::u16string_view kDefaultHeading = u"会议提醒";
constexpr std::u16string_view kEventPage = u"/endusers/meeting_view.aspx";
constexpr std::size_t kLongestEventId = 64;

// Unicode White_Space, the set a card collapses to single spaces.
bool isWhiteSpace(char16_t u) {
    return (u >= 0x09 && u <= 0x0D) || u == 0x20 || u == 0x85 || u == 0xA0 || u == 0x1680 ||
           (u >= 0x2000 && u <= 0x200A) || u == 0x2028 || u == 0x2029 || u == 0x202F ||
           u == 0x205F || u == 0x3000;
}

std::u16string plainLine(std::u16string_view text) {
    std::u16string line;
    bool pendingSpace = false;
    for (const char16_t u : text) {
        if (u < 0x20 || u == 0x7F || isWhiteSpace(u)) {
            pendingSpace = !line.empty();
            continue;
        }
        if (pendingSpace) line += u' ';
        pendingSpace = false;
        line += u;
    }
    return line;
}

std::vector<std::u16string_view> splitElements(std::u16string_view message) {
    std::vector<std::u16string_view> elements;
    for (std::size_t start = 0;;) {
        const std::size_t at = message.find(kSeparator, start);
        elements.push_back(message.substr(
            start, at == std::u16string_view::npos ? std::u16string_view::npos : at - start));
        if (at == std::u16string_view::npos) break;
        start = at + kSeparator.size();
    }
    elements.resize(std::max<std::size_t>(elements.size(), 5));
    return elements;
}

char16_t lower(char16_t u) { return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u; }

std::u16string lowered(std::u16string_view text) {
    std::u16string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

// Printable ASCII that an address may hold as it is; anything else (spaces,
// quotes, angle brackets, non-ASCII) must arrive percent-encoded.
bool isAddressCharacter(char16_t u) {
    if (u <= 0x20 || u >= 0x7F) return false;
    return std::u16string_view(u"\"<>\\^`{|}").find(u) == std::u16string_view::npos;
}

struct Origin {
    std::u16string scheme;
    std::u16string host;
    unsigned port = 0;
    bool operator==(const Origin&) const = default;
};

// The origin of an absolute http or https address; nothing for anything
// else, including addresses with user information, which could disguise
// the host.
std::optional<Origin> webOrigin(std::u16string_view url) {
    if (!std::all_of(url.begin(), url.end(), isAddressCharacter)) return std::nullopt;
    const std::size_t colon = url.find(u"://");
    if (colon == std::u16string_view::npos) return std::nullopt;
    Origin origin;
    origin.scheme = lowered(url.substr(0, colon));
    if (origin.scheme == u"http") {
        origin.port = 80;
    } else if (origin.scheme == u"https") {
        origin.port = 443;
    } else {
        return std::nullopt;
    }
    const std::u16string_view rest = url.substr(colon + 3);
    const std::u16string_view authority = rest.substr(0, rest.find_first_of(u"/?#"));
    if (authority.find(u'@') != std::u16string_view::npos) return std::nullopt;
    std::size_t hostEnd = authority.rfind(u':');
    if (!authority.empty() && authority.front() == u'[') {
        const std::size_t bracket = authority.find(u']');
        if (bracket == std::u16string_view::npos) return std::nullopt;
        hostEnd = bracket + 1 < authority.size() ? bracket + 1 : std::u16string_view::npos;
        if (hostEnd != std::u16string_view::npos && authority[hostEnd] != u':') return std::nullopt;
    }
    origin.host = lowered(authority.substr(0, hostEnd));
    if (origin.host.empty()) return std::nullopt;
    if (hostEnd != std::u16string_view::npos) {
        const std::u16string_view port = authority.substr(hostEnd + 1);
        if (port.empty() || port.size() > 5) return std::nullopt;
        unsigned value = 0;
        for (const char16_t d : port) {
            if (d < u'0' || d > u'9') return std::nullopt;
            value = value * 10 + (d - u'0');
        }
        if (value == 0 || value > 65535) return std::nullopt;
        origin.port = value;
    }
    return origin;
}

bool isEventId(std::u16string_view text) {
    if (text.empty() || text.size() > kLongestEventId) return false;
    return std::all_of(text.begin(), text.end(), [](char16_t u) {
        return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
               u == u'-' || u == u'_';
    });
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// UTF-8 with every byte but the unreserved ones escaped, so that a value
// holding '&', '#' or '+' cannot change the address's structure. A lone
// surrogate becomes U+FFFD.
std::u16string percentEncoded(std::u16string_view text) {
    std::string utf8;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(utf8, c);
    }
    constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string out;
    for (const unsigned char b : utf8) {
        const bool unreserved = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
                                (b >= 'a' && b <= 'z') || b == '-' || b == '.' || b == '_' ||
                                b == '~';
        if (unreserved) {
            out += char16_t(b);
        } else {
            out += u'%';
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return out;
}

std::u16string linkFor(std::u16string_view element, std::u16string_view clientNumber,
                       std::u16string_view serviceBaseUrl) {
    const std::optional<Origin> service = webOrigin(serviceBaseUrl);
    if (!service) return {};
    if (const std::optional<Origin> direct = webOrigin(element)) {
        return direct == service ? std::u16string(element) : std::u16string();
    }
    if (!isEventId(element)) return {};
    return std::u16string(serviceBaseUrl) + std::u16string(kEventPage) + u"?FRM=Software&EventID=" +
           percentEncoded(element) + u"&id=" + percentEncoded(clientNumber);
}

}  // namespace

AlertText parseAlertText(std::u16string_view message, std::u16string_view clientNumber,
                         std::u16string_view serviceBaseUrl) {
    const std::vector<std::u16string_view> elements = splitElements(message);
    AlertText text;
    text.heading = plainLine(elements[0]);
    if (text.heading.empty()) text.heading = kDefaultHeading;
    text.time = plainLine(elements[1]);
    text.title = plainLine(elements[2]);
    text.link = linkFor(plainLine(elements[3]), clientNumber, serviceBaseUrl);
    text.note = plainLine(elements[4]);
    return text;
}

PopupTiming popupTimingFrom(std::int16_t arg2, std::int16_t arg3) {
    PopupTiming timing;
    if (arg2 > 0) timing.lifetimeMs = std::clamp(arg2 * 100, 1000, 120000);
    if (arg3 >= 0) timing.bottomGap = std::min<int>(arg3, 300);
    return timing;
}

}  // namespace talvane::displaymsg
