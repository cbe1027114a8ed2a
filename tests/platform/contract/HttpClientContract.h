#pragma once

#include <memory>

#include "platform/HttpClient.h"
#include "tests/platform/contract/Implementation.h"

namespace talvane::contract {

// Made with the limits the case gives it.
using HttpClientImplementation = Implementation<HttpClient, const HttpLimits&>;

class HttpClientContract : public ::testing::TestWithParam<HttpClientImplementation> {
  protected:
    // Short bounds so that the time-out cases take a second, not thirty.
    static HttpLimits TestLimits();
    std::unique_ptr<HttpClient> Client(const HttpLimits& limits = TestLimits()) const {
        return GetParam().make(limits);
    }
};

// Names the loopback proxy as the system's for its lifetime: the proxy
// variables of the environment on Linux, the user's Internet settings on
// Windows. Every other case runs with no proxy named at all.
class ScopedSystemProxy {
  public:
    explicit ScopedSystemProxy(int port);
    ~ScopedSystemProxy();
    ScopedSystemProxy(const ScopedSystemProxy&) = delete;
    ScopedSystemProxy& operator=(const ScopedSystemProxy&) = delete;
    // Removes any proxy a developer's environment names, so that test
    // traffic stays on loopback; done before the first case.
    static void ClearForTests();
};

}  // namespace talvane::contract
