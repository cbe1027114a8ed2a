#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/HttpClient.h"
#include "web/WebAddress.h"

namespace talvane::win {

// Connection attempts per request, one address of the host each, on either
// path: a host with many addresses would otherwise outlast the deadline.
constexpr int kConnectAttempts = 2;

// One plain http GET straight to the server on a socket of its own, for
// when the Internet settings name no proxy: nothing of WinHTTP is loaded
// for it, and under Wine nothing of crypt32 and GnuTLS, which WinHTTP
// brings in at the end of every request. The name lookup and the connection
// share the connect time-out; every wait ends by `deadline`. A redirect
// (3xx with a Location) comes back in `location`, its body unread.
FetchResult DirectHttpGet(const HttpAddress& address, const HttpLimits& limits,
                          std::chrono::steady_clock::time_point deadline,
                          std::optional<std::string>& location);

}  // namespace talvane::win
