#include "platform/windows/WinHttpClient.h"

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <optional>
#include <string>

#include "platform/windows/DirectHttpGet.h"
#include "platform/windows/WinHttpApi.h"
#include "web/PercentEncoding.h"
#include "web/WebAddress.h"

namespace talvane {

namespace {

using Status = FetchResult::Status;
using Clock = std::chrono::steady_clock;

// Addresses on the wire are ASCII (WireUrl escaped everything else).
std::wstring wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string narrow(const wchar_t* text) {
    std::string out;
    for (; text && *text; ++text) out.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
    return out;
}

struct Handle {
    HINTERNET h = nullptr;
    explicit Handle(HINTERNET handle) : h(handle) {}
    ~Handle() {
        if (h) win::WinHttp()->CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

Status statusOfError(DWORD error) {
    switch (error) {
        case ERROR_WINHTTP_CANNOT_CONNECT:
        case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        case ERROR_WINHTTP_CONNECTION_ERROR:
            return Status::ConnectFailed;
        case ERROR_WINHTTP_TIMEOUT:
            return Status::TimedOut;
        default:
            return Status::Failed;
    }
}

FetchResult lastError(const char* call) {
    const DWORD error = GetLastError();
    return FetchResult::failure(statusOfError(error),
                                std::string(call) + " failed: error " + std::to_string(error));
}

// A setting the client relies on; one refused is an error, never ignored.
bool setOption(HINTERNET h, DWORD option, void* value, DWORD size) {
    return win::WinHttp()->SetOption(h, option, value, size) != FALSE;
}

class Transfer {
  public:
    Transfer(const HttpLimits& limits, SystemProxy& proxies, ProxySignIn& signIn)
        : limits_(limits),
          deadline_(Clock::now() + limits.totalTimeout),
          proxies_(proxies),
          signIn_(signIn) {}

    FetchResult run(const HttpAddress& origin) {
        // No agent name. The proxy is chosen for the first address and set on
        // the session: redirects stay on its origin, and Wine ignores a proxy
        // set on a single request.
        const std::string first = origin.toString();
        const auto proxy = proxies_.choose(OriginKey(origin), wide(first), deadline_);
        if (!proxy) {
            return FetchResult::failure(Status::TimedOut,
                                        "no proxy configuration within " +
                                            std::to_string(limits_.totalTimeout.count()) + " ms");
        }
        const bool named = !proxy->proxy.empty();
        if (!named && origin.scheme == "http") {
            return follow(origin,
                          [this](const HttpAddress& address, std::optional<std::string>& location) {
                              return win::DirectHttpGet(address, limits_, deadline_, location);
                          });
        }
        // Declared before the handles, which it outlives.
        const win::WinHttpUse use;
        api_ = win::WinHttp();
        if (api_ == nullptr)
            return FetchResult::failure(Status::Failed, "WinHTTP is not available");
        Handle session(api_->Open(
            nullptr, named ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY,
            named ? proxy->proxy.c_str() : WINHTTP_NO_PROXY_NAME,
            named && !proxy->bypass.empty() ? proxy->bypass.c_str() : WINHTTP_NO_PROXY_BYPASS, 0));
        if (!session.h) return lastError("WinHttpOpen");
        return follow(origin,
                      [&](const HttpAddress& address, std::optional<std::string>& location) {
                          return fetch(session.h, !named, address, location);
                      });
    }

  private:
    // Follows redirects while they stay on the first address's origin.
    template <typename Hop>
    FetchResult follow(const HttpAddress& origin, Hop hop) {
        HttpAddress address = origin;
        for (int redirects = 0;; ++redirects) {
            std::optional<std::string> location;
            FetchResult result = hop(address, location);
            if (!location) return result;
            const auto next = ResolveLocation(address, *location);
            if (!next || !SameOrigin(*next, origin)) {
                return FetchResult::failure(Status::RedirectRefused,
                                            "redirect to another origin: " + *location);
            }
            if (redirects == limits_.maxRedirects) {
                return FetchResult::failure(
                    Status::RedirectRefused,
                    "more than " + std::to_string(limits_.maxRedirects) + " redirects");
            }
            address = *next;
        }
    }

    int remainingMs() const {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
        return static_cast<int>(std::max<long long>(left, 0));
    }

    FetchResult timedOut() const {
        return FetchResult::failure(
            Status::TimedOut,
            "no whole response within " + std::to_string(limits_.totalTimeout.count()) + " ms");
    }

    // Every blocking call that follows waits at most until the deadline. The
    // wait for the response's headers has a time-out of its own (90 s by
    // default) that WinHttpSetTimeouts leaves alone.
    bool boundWaits(HINTERNET request, bool connecting) {
        const int left = std::max(remainingMs(), 1);
        const int perAttempt = std::max(left / static_cast<int>(win::kConnectAttempts), 1);
        const int connect =
            connecting ? std::min<int>(perAttempt, static_cast<int>(limits_.connectTimeout.count()))
                       : left;
        DWORD headers = static_cast<DWORD>(left);
        return api_->SetTimeouts(request, connect, connect, left, left) &&
               setOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headers,
                         sizeof headers);
    }

    // Sends the request and waits for the response's headers. A proxy that
    // asks who the user is gets one answer per integrated scheme it offers;
    // Basic and Digest would need a password the program does not have.
    std::optional<FetchResult> exchange(HINTERNET request, DWORD& code) {
        DWORD answered = 0;
        for (;;) {
            if (remainingMs() == 0) return timedOut();
            if (!boundWaits(request, true)) return lastError("setting the time-outs");
            if (!api_->SendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                   WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
                return remainingMs() == 0 ? timedOut() : lastError("WinHttpSendRequest");
            }
            if (!boundWaits(request, false)) return lastError("setting the time-outs");
            if (!api_->ReceiveResponse(request, nullptr)) {
                return remainingMs() == 0 ? timedOut() : lastError("WinHttpReceiveResponse");
            }
            DWORD size = sizeof code;
            if (!api_->QueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                    WINHTTP_HEADER_NAME_BY_INDEX, &code, &size,
                                    WINHTTP_NO_HEADER_INDEX)) {
                return lastError("WinHttpQueryHeaders(STATUS_CODE)");
            }
            if (code != HTTP_STATUS_PROXY_AUTH_REQ) return std::nullopt;
            const DWORD scheme = nextSignInScheme(request, answered);
            if (scheme == 0 || !signIn_.prepare(request, scheme)) {
                return FetchResult::failure(
                    Status::ProxyAuthRequired,
                    "the proxy asks who the user is (407) and takes no answer the "
                    "program can give");
            }
            answered |= scheme;
        }
    }

    DWORD nextSignInScheme(HINTERNET request, DWORD answered) const {
        DWORD offered = 0;
        DWORD first = 0;
        DWORD target = 0;
        if (!api_->QueryAuthSchemes(request, &offered, &first, &target) ||
            target != WINHTTP_AUTH_TARGET_PROXY) {
            return 0;
        }
        for (const DWORD scheme : {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM}) {
            if ((offered & scheme) != 0 && (answered & scheme) == 0) return scheme;
        }
        return 0;
    }

    FetchResult fetch(HINTERNET session, bool direct, const HttpAddress& address,
                      std::optional<std::string>& location) {
        Handle connection(api_->Connect(session, wide(address.host).c_str(),
                                        static_cast<INTERNET_PORT>(address.port), 0));
        if (!connection.h) return lastError("WinHttpConnect");
        const DWORD flags = WINHTTP_FLAG_ESCAPE_DISABLE | WINHTTP_FLAG_ESCAPE_DISABLE_QUERY |
                            (address.scheme == "https" ? WINHTTP_FLAG_SECURE : 0);
        Handle request(api_->OpenRequest(connection.h, L"GET", wide(address.target).c_str(),
                                         nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                         flags));
        if (!request.h) return lastError("WinHttpOpenRequest");

        DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
        if (!setOption(request.h, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never)) {
            return lastError("WinHttpSetOption(REDIRECT_POLICY)");
        }
        DWORD attempts = win::kConnectAttempts;
        if (!setOption(request.h, WINHTTP_OPTION_CONNECT_RETRIES, &attempts, sizeof attempts)) {
            return lastError("WinHttpSetOption(CONNECT_RETRIES)");
        }
        // Each request has a session of its own, closed with it, so a
        // connection kept open would never be used again: straight to the
        // service the connection closes with the answer (Wine's WinHTTP would
        // otherwise keep a thread of its own, and a megabyte of memory, until
        // the idle connection expires). Through a proxy it stays open, as
        // NTLM and Negotiate sign in the connection, not the request.
        DWORD keepAlive = WINHTTP_DISABLE_KEEP_ALIVE;
        if (direct &&
            !setOption(request.h, WINHTTP_OPTION_DISABLE_FEATURE, &keepAlive, sizeof keepAlive)) {
            return lastError("WinHttpSetOption(DISABLE_FEATURE)");
        }
        DWORD code = 0;
        if (auto failed = exchange(request.h, code)) return std::move(*failed);

        if (code >= 300 && code < 400) {
            wchar_t buffer[4096];
            DWORD bytes = sizeof buffer;
            if (api_->QueryHeaders(request.h, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX,
                                   buffer, &bytes, WINHTTP_NO_HEADER_INDEX)) {
                location = narrow(buffer);
                return {};
            }
        }
        // Refuses a body that announces its excess at once, without reading it.
        wchar_t lengthText[32];
        DWORD lengthBytes = sizeof lengthText;
        if (api_->QueryHeaders(request.h, WINHTTP_QUERY_CONTENT_LENGTH,
                               WINHTTP_HEADER_NAME_BY_INDEX, lengthText, &lengthBytes,
                               WINHTTP_NO_HEADER_INDEX) &&
            std::wcstoull(lengthText, nullptr, 10) > limits_.maxBodyBytes) {
            return tooLarge();
        }

        FetchResult result;
        result.httpStatus = static_cast<int>(code);
        for (;;) {
            if (remainingMs() == 0) return timedOut();
            if (!boundWaits(request.h, false)) return lastError("setting the time-outs");
            // A read waits for the whole buffer; asking what has arrived first
            // lets a trickling server meet the deadline.
            DWORD available = 0;
            if (!api_->QueryDataAvailable(request.h, &available)) {
                return remainingMs() == 0 ? timedOut() : lastError("WinHttpQueryDataAvailable");
            }
            char chunk[16384];
            DWORD read = 0;
            if (available > 0 && !api_->ReadData(request.h, chunk,
                                                 std::min<DWORD>(available, sizeof chunk), &read)) {
                return remainingMs() == 0 ? timedOut() : lastError("WinHttpReadData");
            }
            if (read == 0) break;
            if (result.body.size() + read > limits_.maxBodyBytes) return tooLarge();
            result.body.append(chunk, read);
        }
        result.status = Status::Ok;
        return result;
    }

    FetchResult tooLarge() const {
        return FetchResult::failure(
            Status::TooLarge,
            "response body larger than " + std::to_string(limits_.maxBodyBytes) + " bytes");
    }

    const win::WinHttpApi* api_ = nullptr;
    HttpLimits limits_;
    Clock::time_point deadline_;
    SystemProxy& proxies_;
    ProxySignIn& signIn_;
};

}  // namespace

WinHttpClient::WinHttpClient(HttpLimits limits, std::shared_ptr<ProxySignIn> signIn)
    : limits_(limits),
      signIn_(signIn ? std::move(signIn) : std::make_shared<IntegratedProxySignIn>()) {}

void WinHttpClient::proxySettingsChanged() { proxies_.settingsChanged(); }

void WinHttpClient::lookUpProxyAhead(std::u16string_view url) {
    const auto address = ParseHttpAddress(WireUrl(url));
    if (!address) return;
    // A deadline already past: the lookup starts on its thread, and the
    // first request for the origin waits for that same lookup. WinHTTP is
    // loaded there too, beside the rest of start-up.
    static_cast<void>(
        proxies_.choose(OriginKey(*address), wide(address->toString()), SystemProxy::Clock::now()));
}

FetchResult WinHttpClient::get(std::u16string_view url) {
    const std::string wire = WireUrl(url);
    const auto address = ParseHttpAddress(wire);
    if (!address) {
        return FetchResult::failure(Status::BadAddress,
                                    "not an absolute http or https address: " + wire);
    }
    FetchResult result = Transfer(limits_, proxies_, *signIn_).run(*address);
    // The proxy may have moved, or its script may now answer otherwise.
    switch (result.status) {
        case Status::ConnectFailed:
        case Status::TimedOut:
        case Status::ProxyAuthRequired:
        case Status::Failed:
            proxies_.forget();
            break;
        case Status::Ok:
        case Status::BadAddress:
        case Status::TooLarge:
        case Status::RedirectRefused:
            break;
    }
    return result;
}

}  // namespace talvane
