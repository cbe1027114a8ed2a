#include "platform/linux/CurlHttpRequest.h"

#include <curl/curl.h>

#include <memory>

#include "service/WebAddress.h"

namespace talvane {

namespace {

// Once per process and thread-safe through the static's initialisation.
// Never cleaned up: the process's exit reclaims it, and a cleanup could race
// with a request still running in another static's destructor.
bool curlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

bool isGet(std::string_view method) {
    if (method.size() != 3) return false;
    const char* get = "GET";
    for (std::size_t i = 0; i < 3; ++i) {
        const char c = method[i];
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper != get[i]) return false;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

// What curl refuses in a URL (controls, space, DEL) and what is not ASCII.
bool mustEscape(unsigned char byte) { return byte <= 0x20 || byte >= 0x7F; }

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

// Bytes of a URL as curl hands them back, one unit each (they are ASCII:
// curl escapes the rest).
std::u16string Widened(std::string_view bytes) {
    std::u16string wide;
    for (const char c : bytes) wide.push_back(static_cast<unsigned char>(c));
    return wide;
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

}  // namespace

std::string WireUrl(std::u16string_view url) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string wire;
    for (const char c : toUtf8(url)) {
        const auto byte = static_cast<unsigned char>(c);
        if (mustEscape(byte)) {
            wire.push_back('%');
            wire.push_back(kHex[byte >> 4]);
            wire.push_back(kHex[byte & 0x0F]);
        } else {
            wire.push_back(c);
        }
    }
    return wire;
}

CurlHttpRequest::CurlHttpRequest(CurlHttpOptions options) : options_(options) {}

CurlHttpRequest::~CurlHttpRequest() = default;

bool CurlHttpRequest::fail(std::string reason) {
    state_ = State::Failed;
    body_.clear();
    error_ = std::move(reason);
    return false;
}

bool CurlHttpRequest::open(std::string_view method, std::u16string_view url, bool async) {
    body_.clear();
    error_.clear();
    url_.clear();
    if (!isGet(method)) return fail("unsupported method: " + std::string(method));
    if (async) return fail("asynchronous requests are not supported");
    url_ = WireUrl(url);
    state_ = State::Opened;
    return true;
}

bool CurlHttpRequest::send() {
    if (state_ != State::Opened) {
        return fail(state_ == State::Sent ? "the request was already sent"
                                          : "send without a successful open");
    }
    std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl) return fail("cannot create a curl handle");

    char errorBuffer[CURL_ERROR_SIZE] = {};
    BodySink sink{&body_, options_.maxBodyBytes};
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // Redirects are followed by hand below: curl would follow them to any
    // host, and a service must not be able to send the client number there.
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(options_.connectTimeout.count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(options_.totalTimeout.count()));
    // Time-outs without SIGALRM: the process may have other threads.
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    // Refuses a too large body at once when the server announces its length;
    // the write callback catches the rest (chunked or lying servers).
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options_.maxBodyBytes));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);

    for (long redirects = 0;; ++redirects) {
        body_.clear();
        const CURLcode rc = curl_easy_perform(h);
        if (sink.tooLarge || rc == CURLE_FILESIZE_EXCEEDED) {
            return fail("response body larger than " + std::to_string(options_.maxBodyBytes) +
                        " bytes");
        }
        if (rc != CURLE_OK) {
            std::string reason = curl_easy_strerror(rc);
            if (errorBuffer[0] != '\0') reason += std::string(": ") + errorBuffer;
            return fail(std::move(reason));
        }
        char* next = nullptr;
        if (curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &next) != CURLE_OK || next == nullptr) {
            break;
        }
        if (redirects >= options_.maxRedirects) {
            return fail("too many redirects (more than " + std::to_string(options_.maxRedirects) +
                        ")");
        }
        if (!SameOrigin(Widened(next), Widened(url_))) {
            return fail(std::string("redirect to another origin refused: ") + next);
        }
        const std::string target = next;
        curl_easy_setopt(h, CURLOPT_URL, target.c_str());
    }
    state_ = State::Sent;
    return true;
}

bool CurlHttpRequest::responseBody(std::string& body) {
    if (state_ != State::Sent) {
        if (error_.empty()) error_ = "no response: the request was not sent";
        return false;
    }
    body = body_;
    return true;
}

std::string CurlHttpRequest::errorString() const { return error_; }

std::unique_ptr<HttpRequest> CurlHttpRequestFactory::create() {
    if (!curlReady()) return nullptr;
    return std::make_unique<CurlHttpRequest>(options_);
}

}  // namespace talvane
