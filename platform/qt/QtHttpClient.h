#pragma once

#include "platform/HttpClient.h"

namespace talvane {

// A synchronous GET through Qt Network. Each request runs on a thread of its
// own, with its own event loop, while the calling thread waits: the caller
// (the user interface's thread) runs no events of its own in the middle of
// a request, as with any blocking call, and between requests no thread of
// this client exists at all. Qt loads its TLS back end only when an https
// address is first used. Proxies come from the system's configuration
// (environment variables and the desktop's settings, as Qt's system proxy
// factory reads them), for every address, loopback included.
// Qt always names an encoding, so the request says "Accept-Encoding:
// identity": nothing compressed is asked for and nothing is inflated.
class QtHttpClient : public HttpClient {
  public:
    explicit QtHttpClient(HttpLimits limits = {});
    FetchResult get(std::u16string_view url) override;

  private:
    HttpLimits limits_;
};

}  // namespace talvane
