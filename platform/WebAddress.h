#pragma once

#include <string_view>

namespace talvane {

// What an Opener accepts: an absolute http or https address with a host
// (scheme in any case), and no control character that a handler's command
// line could take apart. Shared by every implementation so that they refuse
// the same things.
inline bool IsOpenableWebAddress(std::u16string_view url) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c + 32 : c; };
    const auto startsWith = [&](std::u16string_view prefix) {
        if (url.size() < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            if (lower(url[i]) != prefix[i]) return false;
        }
        return true;
    };
    std::size_t hostStart = 0;
    if (startsWith(u"http://")) {
        hostStart = 7;
    } else if (startsWith(u"https://")) {
        hostStart = 8;
    } else {
        return false;
    }
    // "http:///x" or "http://?x" names no host: some handlers would read
    // the rest as a local path.
    if (hostStart == url.size() ||
        std::u16string_view(u"/\\?#@:").find(url[hostStart]) != std::u16string_view::npos) {
        return false;
    }
    for (char16_t c : url) {
        if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

}  // namespace talvane
