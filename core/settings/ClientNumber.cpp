#include "settings/ClientNumber.h"

#include <string_view>

#include "platform/Utf16.h"
#include "settings/SettingsLocation.h"

namespace talvane {
namespace {

constexpr std::u16string_view kSection = u"systemsetting";
constexpr std::u16string_view kKey = u"sysNumber";
constexpr std::u16string_view kUnknown = u"unknown value";
constexpr std::size_t kClientNumberLength = 24;

std::u16string PaddedDraw(Random& random) {
    return PadZeros(DecimalText(DrawOneTo30000(random)), 5);
}

}  // namespace

void LoadClientNumber(std::u16string& sysNumber, const SettingsContext& settings,
                      const Clock& clock, Random& random) {
    sysNumber = ReadSetting(settings, kSection, kKey);
    // Without a file or key the program does not make itself a number; a
    // user's own settings folder without a file yet is a fresh installation,
    // which starts like a portable copy as shipped, with the key and no value.
    if (sysNumber == kUnknown && !IsFreshUserSettings(settings.paths, settings.store)) return;
    if (sysNumber.size() == kClientNumberLength) return;
    sysNumber = NewClientNumber(clock, random);
    WriteSetting(settings, kSection, kKey, sysNumber);
}

bool HoldsClientNumber(const SettingsContext& settings) {
    return ReadSetting(settings, kSection, kKey).size() == kClientNumberLength;
}

std::u16string NewClientNumber(const Clock& clock, Random& random) {
    // Each field is its own reading of the clock, in this order.
    std::u16string stamp = PadZeros(DecimalText(clock.now().year), 4);
    stamp += PadZeros(DecimalText(clock.now().month), 2);
    stamp += PadZeros(DecimalText(clock.now().day), 2);
    stamp += PadZeros(DecimalText(clock.now().hour), 2);
    stamp += PadZeros(DecimalText(clock.now().minute), 2);
    stamp += PadZeros(DecimalText(clock.now().second), 2);
    std::u16string number = PaddedDraw(random) + stamp;
    number += PaddedDraw(random);
    return number;
}

std::u16string PadZeros(const std::u16string& text, std::int16_t width) {
    // Worked out wider than 16 bits: a text longer than 32767 characters
    // must not wrap around into a positive count.
    const long missing = static_cast<long>(width) - static_cast<long>(text.size());
    if (missing <= 0) return text;
    return std::u16string(static_cast<std::size_t>(missing), u'0') + text;
}

}  // namespace talvane
