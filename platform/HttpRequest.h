#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace talvane {

// The stand-in for the XMLHTTP object: one object per request, used as
// open, send, responseBody. Each call returns false on failure and leaves
// the reason in errorString(); the calls after a failed one may still be
// made and simply fail too.
class HttpRequest {
  public:
    virtual ~HttpRequest() = default;
    // The URL is handed over as built; the object itself turns what cannot
    // go on the wire (a space, non-ASCII) into percent escapes.
    virtual bool open(std::string_view method, std::u16string_view url, bool async) = 0;
    virtual bool send() = 0;
    // The raw body bytes, whatever the HTTP status.
    virtual bool responseBody(std::string& body) = 0;
    virtual std::string errorString() const = 0;
};

class HttpRequestFactory {
  public:
    virtual ~HttpRequestFactory() = default;
    // nullptr when no object can be created.
    virtual std::unique_ptr<HttpRequest> create() = 0;
};

}  // namespace talvane
