#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "platform/Random.h"
#include "settings/mdlINI.h"

namespace talvane {

// Sets sysNumber from the settings file. A stored value of exactly 24
// characters is kept whatever it holds, and "unknown value" (no file or no
// key) is kept without writing anything; any other value is replaced by a
// new number, which is written back. In the user's own settings folder a
// missing file counts as an empty value, so every user of an installed
// copy gets one number of their own.
void LoadClientNumber(std::u16string& sysNumber, const SettingsContext& settings,
                      const Clock& clock, Random& random);

// True when the settings file holds a number that LoadClientNumber keeps
// as it is (exactly 24 characters).
bool HoldsClientNumber(const SettingsContext& settings);

// Five random digits, the local time as yyyymmddhhmmss, five random digits.
std::u16string NewClientNumber(const Clock& clock, Random& random);

// text with zeros in front up to width characters; never cut.
std::u16string PadZeros(const std::u16string& text, std::int16_t width);

}  // namespace talvane
