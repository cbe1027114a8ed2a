#pragma once

#include "platform/HttpClient.h"

namespace talvane {

// A synchronous GET through WinHTTP, a part of every Windows. WinHTTP's own
// redirects are switched off and followed here, only on the first
// request's origin. Proxies are the user's (the Internet settings, with
// automatic configuration), asked for each request as the system's own
// HTTP objects do. No encoding is asked for and no body is inflated.
class WinHttpClient : public HttpClient {
  public:
    explicit WinHttpClient(HttpLimits limits = {});
    FetchResult get(std::u16string_view url) override;

  private:
    HttpLimits limits_;
};

}  // namespace talvane
