#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/HttpClient.h"

namespace talvane::testing {

// One implementation of the HTTP client under test: each runner
// instantiates the contract with its own factories, e.g.
//   INSTANTIATE_TEST_SUITE_P(Curl, HttpClientContract,
//       ::testing::Values(HttpClientFactory{"Curl", makeCurlClient}),
//       HttpClientFactoryName);
struct HttpClientFactory {
    std::string name;
    std::function<std::unique_ptr<HttpClient>(const HttpLimits&)> make;
};

// Test names and failure messages show the implementation's name.
inline void PrintTo(const HttpClientFactory& factory, std::ostream* out) { *out << factory.name; }

inline std::string HttpClientFactoryName(const ::testing::TestParamInfo<HttpClientFactory>& info) {
    return info.param.name;
}

class HttpClientContract : public ::testing::TestWithParam<HttpClientFactory> {
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
    // traffic stays on loopback; runners call it before the tests start.
    static void ClearForTests();
};

}  // namespace talvane::testing
