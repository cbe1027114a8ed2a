#include "service/ServiceBaseUrl.h"

#include <string_view>

#include "web/WebAddress.h"

#ifndef TALVANE_SERVICE_URL_DEFAULT
#error "TALVANE_SERVICE_URL_DEFAULT names the service address the build is for"
#endif

namespace talvane {

namespace {

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

const char* BuiltInServiceBaseUrl() { return TALVANE_SERVICE_URL_DEFAULT; }

std::u16string ServiceBaseUrlFrom(const char* environmentValue, const char* builtIn) {
    // Only ASCII belongs in a scheme-and-host prefix; anything else is kept
    // byte for byte so that a wrong value shows up in the requests as typed.
    std::u16string url;
    const char* chosen = IsSet(environmentValue) ? environmentValue : builtIn;
    for (std::string_view text(chosen); char c : text) {
        url.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    while (!url.empty() && url.back() == u'/') {
        url.pop_back();
    }
    return url;
}

std::optional<std::string> ServiceBaseUrlProblem(const char* environmentValue,
                                                 const char* builtIn) {
    if (ParseWebAddress(ServiceBaseUrlFrom(environmentValue, builtIn))) return std::nullopt;
    const bool fromEnvironment = IsSet(environmentValue);
    const std::string setting = fromEnvironment
                                    ? "TALVANE_SERVICE_URL"
                                    : "the built-in service address (TALVANE_SERVICE_URL_DEFAULT)";
    const std::string value = fromEnvironment ? environmentValue : builtIn;
    std::string shown;
    for (const char c : value) {
        // The line stays one line whatever the value holds.
        const auto byte = static_cast<unsigned char>(c);
        shown.push_back(byte < 0x20 || byte == 0x7F ? '?' : c);
    }
    return setting + " must be an http or https address with a host name, not '" + shown + "'";
}

}  // namespace talvane
