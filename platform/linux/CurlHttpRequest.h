#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/HttpRequest.h"

namespace talvane {

struct CurlHttpOptions {
    // Without bounds a dead or stalled service would freeze the panel, which
    // waits on every request, for as long as the socket stays open.
    std::chrono::milliseconds connectTimeout{10'000};
    std::chrono::milliseconds totalTimeout{30'000};
    // A page of the service is a few kilobytes; a larger body is refused so
    // that a hostile or broken server cannot exhaust memory.
    std::size_t maxBodyBytes = 16u * 1024u * 1024u;
    long maxRedirects = 10;
};

// A blocking GET through libcurl's easy interface. Only the headers curl
// itself must send go out: Host, and curl's default "Accept: */*", which is
// kept because it says no more than a missing Accept and some servers treat
// a request without one as a robot. No User-Agent, no Accept-Encoding.
// Redirects are followed over http and https only. Proxies come from the
// usual environment variables (http_proxy, no_proxy), as curl reads them.
class CurlHttpRequest : public HttpRequest {
  public:
    explicit CurlHttpRequest(CurlHttpOptions options);
    ~CurlHttpRequest() override;
    CurlHttpRequest(const CurlHttpRequest&) = delete;
    CurlHttpRequest& operator=(const CurlHttpRequest&) = delete;

    // Only a synchronous GET (the method's case does not matter).
    bool open(std::string_view method, std::u16string_view url, bool async) override;
    // Performs the request; succeeds for any HTTP status once the whole body
    // has arrived.
    bool send() override;
    // Fails unless send succeeded.
    bool responseBody(std::string& body) override;
    std::string errorString() const override;

  private:
    enum class State { Created, Opened, Sent, Failed };
    bool fail(std::string reason);

    CurlHttpOptions options_;
    State state_ = State::Created;
    std::string url_;
    std::string body_;
    std::string error_;
};

class CurlHttpRequestFactory : public HttpRequestFactory {
  public:
    explicit CurlHttpRequestFactory(CurlHttpOptions options = {}) : options_(options) {}
    // nullptr when libcurl cannot be initialised.
    std::unique_ptr<HttpRequest> create() override;

    const CurlHttpOptions& options() const { return options_; }
    void setConnectTimeout(std::chrono::milliseconds t) { options_.connectTimeout = t; }
    void setTotalTimeout(std::chrono::milliseconds t) { options_.totalTimeout = t; }

  private:
    CurlHttpOptions options_;
};

// The URL as it goes to libcurl: UTF-8, with what cannot go on the wire
// percent-encoded (controls, space, DEL, every byte of a non-ASCII
// character; an unpaired surrogate counts as U+FFFD). Everything else, '%'
// included, stays as the program built it.
std::string WireUrl(std::u16string_view url);

}  // namespace talvane
