#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace talvane {

// Bounds every client keeps. Without them a dead or stalled service would
// freeze the panel, which waits on every request.
struct HttpLimits {
    std::chrono::milliseconds connectTimeout{10'000};  // name lookup included
    std::chrono::milliseconds totalTimeout{30'000};
    // From the request sent to the response headers, and from one piece of
    // the body to the next. The service answers in milliseconds; a status
    // line, header or chunk-size line that never ends is cut off after this
    // instead of the total (libcurl refuses such lines by its own size
    // limits before).
    std::chrono::milliseconds responseTimeout{5'000};
    // A page of the service is a few kilobytes; a larger body is refused so
    // that a hostile or broken server cannot exhaust memory.
    std::size_t maxBodyBytes = 16u * 1024u * 1024u;
    int maxRedirects = 10;
};

struct FetchResult {
    enum class Status {
        Ok,                 // the whole body arrived, whatever the HTTP status
        BadAddress,         // not an absolute http or https address
        ConnectFailed,      // name lookup or connection failed
        TimedOut,           // a time-out of HttpLimits ran out
        TooLarge,           // the body is longer than maxBodyBytes
        RedirectRefused,    // to another origin, another scheme, or too many
        ProxyAuthRequired,  // the proxy still asks who the user is (407)
        Failed,             // anything else: a broken response, the client itself
    };
    Status status = Status::Failed;
    int httpStatus = 0;  // when Ok
    std::string body;    // when Ok: the raw bytes, not decoded
    std::string reason;  // when not Ok, for logs and tests
    bool ok() const { return status == Status::Ok; }

    static FetchResult failure(Status status, std::string reason) {
        FetchResult result;
        result.status = status;
        result.reason = std::move(reason);
        return result;
    }
};

// A synchronous GET. The address is handed over as the program built it; the
// client turns what cannot go on the wire (a blank, non-ASCII) into percent
// escapes, a blank as %20. Redirects are followed only while they stay on
// the first request's origin (scheme, host and port). The system's proxy
// settings apply. No compressed bodies are asked for.
class HttpClient {
  public:
    virtual ~HttpClient() = default;
    virtual FetchResult get(std::u16string_view url) = 0;
};

}  // namespace talvane
