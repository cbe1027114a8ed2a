// BuildAlertMessage on any reminder text: a message exactly when there are
// five elements, made of elements 0 to 4 with element 2 at most 18 units and
// never ending in half a character.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/EventList.h"
#include "service/Reminders.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = talvane::fuzz::InputText(talvane::fuzz::Bytes(data, size));
    const std::optional<std::u16string> message = talvane::BuildAlertMessage(text);
    const std::vector<std::u16string> elements = talvane::SplitAll(text, u"&&&&");
    FUZZ_CHECK(message.has_value() == (elements.size() >= 5));
    if (!message) return 0;

    constexpr std::u16string_view kBar = u"||||||";
    const std::u16string head =
        elements[0] + std::u16string(kBar) + elements[1] + std::u16string(kBar);
    const std::u16string tail =
        std::u16string(kBar) + elements[3] + std::u16string(kBar) + elements[4];
    FUZZ_CHECK(message->size() >= head.size() + tail.size());
    FUZZ_CHECK(message->starts_with(head));
    FUZZ_CHECK(message->ends_with(tail));

    const std::u16string_view middle = std::u16string_view(*message).substr(
        head.size(), message->size() - head.size() - tail.size());
    const std::u16string& element2 = elements[2];
    if (element2.size() <= 16) {
        FUZZ_CHECK(middle == element2);
    } else {
        FUZZ_CHECK(middle.ends_with(u"..."));
        const std::u16string_view kept = middle.substr(0, middle.size() - 3);
        FUZZ_CHECK(std::u16string_view(element2).starts_with(kept));
        FUZZ_CHECK(kept.size() == 15
                       ? !talvane::fuzz::IsHighSurrogate(kept.back())
                       : kept.size() == 14 && talvane::fuzz::IsHighSurrogate(element2[14]));
    }
    return 0;
}
