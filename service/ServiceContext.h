#pragma once

#include <string>

#include "platform/CodePage.h"
#include "platform/HttpRequest.h"
#include "platform/Random.h"

namespace talvane {

// What every request to the service needs.
struct ServiceContext {
    HttpRequestFactory& http;
    const CodePage& codePage;
    Random& random;
    std::u16string baseUrl;  // ServiceBaseUrl: scheme and host, no trailing slash
};

}  // namespace talvane
