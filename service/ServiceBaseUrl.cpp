#include "service/ServiceBaseUrl.h"

#include <string_view>

namespace talvane {

std::u16string ServiceBaseUrlFrom(const char* environmentValue) {
    if (environmentValue == nullptr || *environmentValue == '\0') {
        return kDefaultServiceBaseUrl;
    }
    // Only ASCII belongs in a scheme-and-host prefix; anything else is kept
    // byte for byte so that a wrong value shows up in the requests as typed.
    std::u16string url;
    for (std::string_view text(environmentValue); char c : text) {
        url.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    while (!url.empty() && url.back() == u'/') {
        url.pop_back();
    }
    return url;
}

}  // namespace talvane
