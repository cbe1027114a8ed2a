// ExtractSpanText on any page: the cut must be the text right behind the
// marker's two skipped characters up to the first "</span>", and every
// other outcome must have its reason in the page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "service/PageFetch.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using talvane::SpanResult;
constexpr std::u16string_view kSpanEnd = u"</span>";

void CheckCut(std::u16string_view page, std::u16string_view marker) {
    const SpanResult result = talvane::ExtractSpanText(page, marker);
    if (marker.empty()) {
        FUZZ_CHECK(result.status == SpanResult::Status::Error);
        return;
    }
    const std::size_t h = page.find(marker);
    if (h == std::u16string_view::npos) {
        FUZZ_CHECK(result.status == SpanResult::Status::NotFound);
        return;
    }
    FUZZ_CHECK(result.status != SpanResult::Status::NotFound);
    const std::size_t start = h + marker.size() + 2;
    // The end is looked for from the marker's third character on.
    const std::size_t end = page.find(kSpanEnd, h + 2);
    if (result.status == SpanResult::Status::Error) {
        FUZZ_CHECK(!result.error.empty());
        FUZZ_CHECK(end == std::u16string_view::npos || end < start);
        return;
    }
    FUZZ_CHECK(start <= page.size());
    FUZZ_CHECK(page.substr(start, result.text.size()) == result.text);
    FUZZ_CHECK(page.substr(start + result.text.size(), kSpanEnd.size()) == kSpanEnd);
    FUZZ_CHECK(end == start + result.text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = talvane::fuzz::InputText(talvane::fuzz::Bytes(data, size));
    std::u16string_view page = text;
    // "@marker\n" in front chooses a marker of the input's own; otherwise
    // the program's two markers are cut from the whole page.
    if (page.starts_with(u'@')) {
        const std::size_t newline = page.find(u'\n');
        const std::u16string_view marker =
            page.substr(1, newline == std::u16string_view::npos ? 0 : newline - 1);
        CheckCut(page.substr(newline == std::u16string_view::npos ? page.size() : newline + 1),
                 marker.substr(0, 64));
        return 0;
    }
    CheckCut(page, u"lblTopics");
    CheckCut(page, u"lblReminders");
    return 0;
}
