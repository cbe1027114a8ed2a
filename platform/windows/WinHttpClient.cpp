#include "platform/windows/WinHttpClient.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <optional>
#include <string>

#include "web/PercentEncoding.h"
#include "web/WebAddress.h"

namespace talvane {

namespace {

using Status = FetchResult::Status;
using Clock = std::chrono::steady_clock;

FetchResult failure(Status status, std::string reason) {
    FetchResult result;
    result.status = status;
    result.reason = std::move(reason);
    return result;
}

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
        if (h) WinHttpCloseHandle(h);
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
    return failure(statusOfError(error),
                   std::string(call) + " failed: error " + std::to_string(error));
}

// The proxy the user's settings name for `url`: automatic configuration
// (a script, or one found on the network) first, as the system does, then
// the proxy named by hand, else none.
struct ProxyChoice {
    std::wstring proxy;
    std::wstring bypass;
};

void freeIeConfig(WINHTTP_CURRENT_USER_IE_PROXY_CONFIG& ie) {
    if (ie.lpszAutoConfigUrl) GlobalFree(ie.lpszAutoConfigUrl);
    if (ie.lpszProxy) GlobalFree(ie.lpszProxy);
    if (ie.lpszProxyBypass) GlobalFree(ie.lpszProxyBypass);
}

std::optional<ProxyChoice> userProxy(const std::wstring& url) {
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG ie{};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&ie)) return std::nullopt;
    std::optional<ProxyChoice> choice;
    if (ie.fAutoDetect || ie.lpszAutoConfigUrl) {
        Handle session(WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                   WINHTTP_NO_PROXY_BYPASS, 0));
        WINHTTP_AUTOPROXY_OPTIONS options{};
        if (ie.lpszAutoConfigUrl) {
            options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
            options.lpszAutoConfigUrl = ie.lpszAutoConfigUrl;
        }
        if (ie.fAutoDetect) {
            options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
            options.dwAutoDetectFlags =
                WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
        }
        options.fAutoLogonIfChallenged = TRUE;
        WINHTTP_PROXY_INFO info{};
        if (session.h && WinHttpGetProxyForUrl(session.h, url.c_str(), &options, &info)) {
            if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && info.lpszProxy) {
                choice =
                    ProxyChoice{info.lpszProxy, info.lpszProxyBypass ? info.lpszProxyBypass : L""};
            } else {
                choice = ProxyChoice{};
            }
            if (info.lpszProxy) GlobalFree(info.lpszProxy);
            if (info.lpszProxyBypass) GlobalFree(info.lpszProxyBypass);
        }
    }
    if (!choice && ie.lpszProxy) {
        choice = ProxyChoice{ie.lpszProxy, ie.lpszProxyBypass ? ie.lpszProxyBypass : L""};
    }
    freeIeConfig(ie);
    return choice;
}

// A setting the client relies on; one refused is an error, never ignored.
bool setOption(HINTERNET h, DWORD option, void* value, DWORD size) {
    return WinHttpSetOption(h, option, value, size) != FALSE;
}

class Transfer {
  public:
    Transfer(const HttpLimits& limits)
        : limits_(limits), deadline_(Clock::now() + limits.totalTimeout) {}

    FetchResult run(const HttpAddress& origin) {
        // No agent name. The proxy is chosen for the first address and set on
        // the session: redirects stay on its origin, and Wine ignores a proxy
        // set on a single request.
        const auto proxy = userProxy(wide(origin.toString()));
        const bool named = proxy && !proxy->proxy.empty();
        Handle session(WinHttpOpen(
            nullptr, named ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY,
            named ? proxy->proxy.c_str() : WINHTTP_NO_PROXY_NAME,
            named && !proxy->bypass.empty() ? proxy->bypass.c_str() : WINHTTP_NO_PROXY_BYPASS, 0));
        if (!session.h) return lastError("WinHttpOpen");
        HttpAddress address = origin;
        for (int redirects = 0;; ++redirects) {
            std::optional<std::string> location;
            FetchResult result = fetch(session.h, address, location);
            if (!location) return result;
            const auto next = ResolveLocation(address, *location);
            if (!next || !SameOrigin(*next, origin)) {
                return failure(Status::RedirectRefused, "redirect to another origin: " + *location);
            }
            if (redirects == limits_.maxRedirects) {
                return failure(Status::RedirectRefused,
                               "more than " + std::to_string(limits_.maxRedirects) + " redirects");
            }
            address = *next;
        }
    }

  private:
    int remainingMs() const {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
        return static_cast<int>(std::max<long long>(left, 0));
    }

    FetchResult timedOut() const {
        return failure(Status::TimedOut, "no whole response within " +
                                             std::to_string(limits_.totalTimeout.count()) + " ms");
    }

    // Every blocking call that follows waits at most until the deadline. The
    // wait for the response's headers has a time-out of its own (90 s by
    // default) that WinHttpSetTimeouts leaves alone.
    bool boundWaits(HINTERNET request, bool connecting) {
        const int left = std::max(remainingMs(), 1);
        const int connect =
            connecting ? std::min<int>(left, static_cast<int>(limits_.connectTimeout.count()))
                       : left;
        DWORD headers = static_cast<DWORD>(left);
        return WinHttpSetTimeouts(request, connect, connect, left, left) &&
               setOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headers,
                         sizeof headers);
    }

    FetchResult fetch(HINTERNET session, const HttpAddress& address,
                      std::optional<std::string>& location) {
        Handle connection(WinHttpConnect(session, wide(address.host).c_str(),
                                         static_cast<INTERNET_PORT>(address.port), 0));
        if (!connection.h) return lastError("WinHttpConnect");
        const DWORD flags = WINHTTP_FLAG_ESCAPE_DISABLE | WINHTTP_FLAG_ESCAPE_DISABLE_QUERY |
                            (address.scheme == "https" ? WINHTTP_FLAG_SECURE : 0);
        Handle request(WinHttpOpenRequest(connection.h, L"GET", wide(address.target).c_str(),
                                          nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                          flags));
        if (!request.h) return lastError("WinHttpOpenRequest");

        DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
        if (!setOption(request.h, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never)) {
            return lastError("WinHttpSetOption(REDIRECT_POLICY)");
        }
        if (remainingMs() == 0) return timedOut();
        if (!boundWaits(request.h, true)) return lastError("setting the time-outs");
        if (!WinHttpSendRequest(request.h, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
            return remainingMs() == 0 ? timedOut() : lastError("WinHttpSendRequest");
        }
        if (!boundWaits(request.h, false)) return lastError("setting the time-outs");
        if (!WinHttpReceiveResponse(request.h, nullptr)) {
            return remainingMs() == 0 ? timedOut() : lastError("WinHttpReceiveResponse");
        }

        DWORD code = 0;
        DWORD size = sizeof code;
        if (!WinHttpQueryHeaders(request.h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &code, &size,
                                 WINHTTP_NO_HEADER_INDEX)) {
            return lastError("WinHttpQueryHeaders(STATUS_CODE)");
        }
        if (code >= 300 && code < 400) {
            wchar_t buffer[4096];
            DWORD bytes = sizeof buffer;
            if (WinHttpQueryHeaders(request.h, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX,
                                    buffer, &bytes, WINHTTP_NO_HEADER_INDEX)) {
                location = narrow(buffer);
                return {};
            }
        }
        // Refuses a body that announces its excess at once, without reading it.
        wchar_t lengthText[32];
        DWORD lengthBytes = sizeof lengthText;
        if (WinHttpQueryHeaders(request.h, WINHTTP_QUERY_CONTENT_LENGTH,
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
            if (!WinHttpQueryDataAvailable(request.h, &available)) {
                return remainingMs() == 0 ? timedOut() : lastError("WinHttpQueryDataAvailable");
            }
            char chunk[16384];
            DWORD read = 0;
            if (available > 0 &&
                !WinHttpReadData(request.h, chunk, std::min<DWORD>(available, sizeof chunk),
                                 &read)) {
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
        return failure(Status::TooLarge, "response body larger than " +
                                             std::to_string(limits_.maxBodyBytes) + " bytes");
    }

    HttpLimits limits_;
    Clock::time_point deadline_;
};

}  // namespace

WinHttpClient::WinHttpClient(HttpLimits limits) : limits_(limits) {}

FetchResult WinHttpClient::get(std::u16string_view url) {
    const std::string wire = WireUrl(url);
    const auto address = ParseHttpAddress(wire);
    if (!address) {
        return failure(Status::BadAddress, "not an absolute http or https address: " + wire);
    }
    return Transfer(limits_).run(*address);
}

}  // namespace talvane
