#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "platform/HttpClient.h"

namespace talvane {

// A blocking GET through libcurl's easy interface. Only the headers curl
// itself must send go out: Host, and curl's default "Accept: */*", which is
// kept because it says no more than a missing Accept and some servers treat
// a request without one as a robot. No User-Agent, no Accept-Encoding.
// Redirects are followed by the client itself, one at a time, and only
// while they stay on the first request's scheme, host and port. Proxies
// come from the usual environment variables (http_proxy, no_proxy), as curl
// reads them.
class CurlHttpClient : public HttpClient {
  public:
    explicit CurlHttpClient(HttpLimits limits = {}) : limits_(limits) {}

    FetchResult get(std::u16string_view url) override;

    const HttpLimits& limits() const { return limits_; }
    void setConnectTimeout(std::chrono::milliseconds t) { limits_.connectTimeout = t; }
    void setTotalTimeout(std::chrono::milliseconds t) { limits_.totalTimeout = t; }

  private:
    HttpLimits limits_;
};

// The URL as it goes to libcurl: UTF-8, with what cannot go on the wire
// percent-encoded (controls, space, DEL, every byte of a non-ASCII
// character; an unpaired surrogate counts as U+FFFD). Everything else, '%'
// included, stays as the program built it.
std::string WireUrl(std::u16string_view url);

}  // namespace talvane
