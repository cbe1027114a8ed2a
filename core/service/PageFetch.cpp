#include "service/PageFetch.h"

#include <cstddef>
#include <exception>

namespace talvane {

std::int16_t NewCacheBuster(Random& random) { return DrawOneTo30000(random); }

PageResult FetchPage(HttpClient& http, const CodePage& codePage, std::u16string_view url) {
    PageResult result;
    try {
        const FetchResult response = http.get(url);
        if (!response.ok()) {
            result.error = "GET failed: " + response.reason;
            return result;
        }
        result.text = codePage.toUnicode(response.body);
        result.status = PageResult::Status::Ok;
    } catch (const std::exception& e) {
        // Out of memory on a large page, for one: still only a failed fetch.
        result = PageResult{};
        result.error = std::string("fetch failed: ") + e.what();
    }
    return result;
}

SpanResult ExtractSpanText(std::u16string_view page, std::u16string_view marker) {
    static constexpr std::u16string_view kSpanEnd = u"</span>";
    SpanResult result;
    if (marker.empty()) {
        result.status = SpanResult::Status::Error;
        result.error = "empty marker";
        return result;
    }
    // 0-based throughout: h is the marker's first character.
    const std::size_t h = page.find(marker);
    if (h == std::u16string_view::npos) {
        result.status = SpanResult::Status::NotFound;
        return result;
    }
    // The end is searched from the marker's third character on, not from the
    // end of the marker and its two skipped characters.
    const std::size_t m = page.find(kSpanEnd, h + 2);
    if (m == std::u16string_view::npos) {
        result.status = SpanResult::Status::Error;
        result.error = "no </span> after the marker";
        return result;
    }
    const auto skip = static_cast<std::ptrdiff_t>(marker.size()) + 2;
    const std::ptrdiff_t length =
        static_cast<std::ptrdiff_t>(m) - static_cast<std::ptrdiff_t>(h) - skip;
    if (length < 0) {
        result.status = SpanResult::Status::Error;
        result.error = "</span> begins within the characters that close the marker's tag";
        return result;
    }
    result.status = SpanResult::Status::Found;
    result.text = std::u16string(
        page.substr(h + static_cast<std::size_t>(skip), static_cast<std::size_t>(length)));
    return result;
}

}  // namespace talvane
