#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/AppPaths.h"
#include "platform/CodePage.h"
#include "platform/SettingsStore.h"

namespace talvane {

// What settings-file access needs from the platform. The module keeps no
// state: every call goes to the file again.
struct SettingsContext {
    SettingsStore& store;
    const CodePage& codePage;
    const AppPaths& paths;
};

// The settings directory and "/setting.ini", joined as they stand: the root
// directory "/" gives "//setting.ini", which still names /setting.ini.
std::string SettingsFilePath(const AppPaths& paths);

// The stored value, trimmed; "unknown value" when the file, section or key
// is missing; "" for an empty stored value.
std::u16string ReadSetting(const SettingsContext& ctx, std::u16string_view section,
                           std::u16string_view key);

// Creates file, section and key as needed, and a settings directory other
// than the executable's (private to the user, parents too). 1 on success, 0
// on failure (the old file is then left as it was).
std::int16_t WriteSetting(const SettingsContext& ctx, std::u16string_view section,
                          std::u16string_view key, std::u16string_view value);

// Strips spaces at both ends once, then trailing NUL characters; text is
// trimmed in place and the result returned as well.
std::u16string TrimSettingValue(std::u16string& text);

}  // namespace talvane
