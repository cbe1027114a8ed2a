#pragma once

#include <memory>

#include "platform/HttpClient.h"
#include "platform/windows/ProxySignIn.h"
#include "platform/windows/SystemProxy.h"

namespace talvane {

// A synchronous GET through WinHTTP, a part of every Windows, or straight
// over a socket (DirectHttpGet) when the settings name no proxy for a plain
// http address. WinHTTP's own redirects are switched off; redirects are
// followed here, only on the first request's origin. Proxies are the
// user's (the Internet settings, with automatic configuration), looked up
// within the request's deadline and kept until a request fails or the
// settings change. A proxy asking who the user is (407) gets the user's
// integrated sign-in through `signIn`. No encoding is asked for and no body
// is inflated.
class WinHttpClient : public HttpClient {
  public:
    // signIn null: the system's integrated sign-in.
    explicit WinHttpClient(HttpLimits limits = {}, std::shared_ptr<ProxySignIn> signIn = nullptr);
    FetchResult get(std::u16string_view url) override;

    // Starts looking up the proxy for url's origin without waiting for it:
    // discovery (a script, or a search of the network for one) then runs
    // while the program sets itself up instead of inside its first request.
    void lookUpProxyAhead(std::u16string_view url);

    // Windows said the Internet settings changed: the next request looks
    // the proxy up again.
    void proxySettingsChanged();

  private:
    HttpLimits limits_;
    std::shared_ptr<ProxySignIn> signIn_;
    SystemProxy proxies_;
};

}  // namespace talvane
