#pragma once

#include <string>

#include "platform/CodePage.h"
#include "platform/HttpClient.h"
#include "platform/Random.h"

namespace talvane {

// What every request to the service needs.
struct ServiceContext {
    HttpClient& http;
    const CodePage& codePage;
    Random& random;
    std::u16string baseUrl;  // ServiceBaseUrl: scheme and host, no trailing slash
};

}  // namespace talvane
