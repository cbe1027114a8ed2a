// The system's proxy on Linux, as curl, libproxy and Qt read it: the
// environment's proxy variables.
#include <cstdlib>
#include <string>

#include "tests/platform/contract/HttpClientContract.h"

namespace talvane::contract {

namespace {
constexpr const char* kProxyVariables[] = {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
                                           "all_proxy",  "ALL_PROXY",  "no_proxy",    "NO_PROXY"};
}

ScopedSystemProxy::ScopedSystemProxy(int port) {
    ::setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(port)).c_str(), 1);
}

ScopedSystemProxy::~ScopedSystemProxy() { ClearForTests(); }

void ScopedSystemProxy::ClearForTests() {
    for (const char* name : kProxyVariables) ::unsetenv(name);
}

}  // namespace talvane::contract
