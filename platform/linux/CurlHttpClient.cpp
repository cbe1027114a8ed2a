#include "platform/linux/CurlHttpClient.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "web/PercentEncoding.h"
#include "web/WebAddress.h"

namespace talvane {

namespace {

// Once per process and thread-safe through the static's initialisation.
// Never cleaned up: the process's exit reclaims it, and a cleanup could race
// with a request still running in another static's destructor.
bool curlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

struct BodySink {
    std::string* body;
    std::size_t maxBytes;
    bool tooLarge = false;
};

std::size_t collectBody(char* data, std::size_t size, std::size_t count, void* userData) {
    auto* sink = static_cast<BodySink*>(userData);
    const std::size_t bytes = size * count;
    if (sink->body->size() + bytes > sink->maxBytes) {
        sink->tooLarge = true;
        return 0;  // anything short of `bytes` makes curl abort the transfer
    }
    sink->body->append(data, bytes);
    return bytes;
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

FetchResult::Status statusOf(CURLcode rc) {
    switch (rc) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
            return FetchResult::Status::ConnectFailed;
        case CURLE_OPERATION_TIMEDOUT:
            return FetchResult::Status::TimedOut;
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            return FetchResult::Status::BadAddress;
        default:
            return FetchResult::Status::Failed;
    }
}

// Every option the request relies on: one the library refuses fails the
// request instead of being dropped.
template <typename Value>
bool set(CURL* h, CURLoption option, Value value, std::string& refused, const char* name) {
    if (curl_easy_setopt(h, option, value) == CURLE_OK) return true;
    if (refused.empty()) refused = name;
    return false;
}

}  // namespace

FetchResult CurlHttpClient::get(std::u16string_view address) {
    const std::optional<HttpAddress> origin = ParseHttpAddress(WireUrl(address));
    if (!origin) {
        return FetchResult::failure(FetchResult::Status::BadAddress,
                                    "not an absolute http or https address");
    }
    // The address as read, so that libcurl goes where the check looked.
    std::string url = origin->toString();
    if (!curlReady())
        return FetchResult::failure(FetchResult::Status::Failed, "libcurl cannot start");

    const auto deadline = std::chrono::steady_clock::now() + limits_.totalTimeout;
    // One handle for every hop, so that a redirect on the same origin goes
    // over the same connection.
    std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl)
        return FetchResult::failure(FetchResult::Status::Failed, "cannot create a curl handle");
    CURL* h = curl.get();
    char errorBuffer[CURL_ERROR_SIZE] = {};
    std::string body;
    BodySink sink{&body, limits_.maxBodyBytes};
    std::string refused;
    bool ok = set(h, CURLOPT_ERRORBUFFER, errorBuffer, refused, "ERRORBUFFER");
    ok = set(h, CURLOPT_HTTPGET, 1L, refused, "HTTPGET") && ok;
    ok = set(h, CURLOPT_PROTOCOLS_STR, "http,https", refused, "PROTOCOLS_STR") && ok;
    ok = set(h, CURLOPT_FOLLOWLOCATION, 0L, refused, "FOLLOWLOCATION") && ok;
    ok = set(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connectTimeout.count()),
             refused, "CONNECTTIMEOUT_MS") &&
         ok;
    // Time-outs without SIGALRM: the process may have other threads.
    ok = set(h, CURLOPT_NOSIGNAL, 1L, refused, "NOSIGNAL") && ok;
    // Refuses a too large body at once when the server announces its length;
    // the write callback catches the rest (chunked or lying servers).
    ok = set(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits_.maxBodyBytes), refused,
             "MAXFILESIZE_LARGE") &&
         ok;
    ok = set(h, CURLOPT_WRITEFUNCTION, collectBody, refused, "WRITEFUNCTION") && ok;
    ok = set(h, CURLOPT_WRITEDATA, &sink, refused, "WRITEDATA") && ok;
    if (!ok) return FetchResult::failure(FetchResult::Status::Failed, "libcurl refused " + refused);

    for (int redirects = 0;; ++redirects) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return FetchResult::failure(FetchResult::Status::TimedOut, "total time-out");
        errorBuffer[0] = '\0';
        body.clear();
        ok = set(h, CURLOPT_URL, url.c_str(), refused, "URL");
        ok = set(h, CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()), refused, "TIMEOUT_MS") &&
             ok;
        if (!ok)
            return FetchResult::failure(FetchResult::Status::Failed, "libcurl refused " + refused);

        const CURLcode rc = curl_easy_perform(h);
        if (sink.tooLarge || rc == CURLE_FILESIZE_EXCEEDED) {
            return FetchResult::failure(
                FetchResult::Status::TooLarge,
                "response body larger than " + std::to_string(limits_.maxBodyBytes) + " bytes");
        }
        if (rc != CURLE_OK) {
            std::string reason = curl_easy_strerror(rc);
            if (errorBuffer[0] != '\0') reason += std::string(": ") + errorBuffer;
            return FetchResult::failure(statusOf(rc), std::move(reason));
        }
        long status = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        char* location = nullptr;
        curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &location);
        if (status >= 300 && status < 400 && location != nullptr) {
            if (redirects >= limits_.maxRedirects) {
                return FetchResult::failure(
                    FetchResult::Status::RedirectRefused,
                    "more than " + std::to_string(limits_.maxRedirects) + " redirects");
            }
            // Another origin could be anything on the network; the program
            // only ever talks to its own service.
            const std::optional<HttpAddress> next = ParseHttpAddress(location);
            if (!next || !SameOrigin(*next, *origin)) {
                return FetchResult::failure(FetchResult::Status::RedirectRefused,
                                            std::string("redirect to another origin: ") + location);
            }
            url = next->toString();
            continue;
        }
        FetchResult result;
        result.status = FetchResult::Status::Ok;
        result.httpStatus = static_cast<int>(status);
        result.body = std::move(body);
        return result;
    }
}

}  // namespace talvane
