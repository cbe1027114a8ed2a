#include "settings/mdlINI.h"

#include <array>

#include "settings/SettingsDirectory.h"

namespace talvane {
namespace {

constexpr std::u16string_view kDefaultValue = u"unknown value";
constexpr std::size_t kBufferSize = 500;

}  // namespace

std::string SettingsFilePath(const AppPaths& paths) {
    return paths.settingsDirectory() + "/setting.ini";
}

std::u16string ReadSetting(const SettingsContext& ctx, std::u16string_view section,
                           std::u16string_view key) {
    // The path stays in the file system's own bytes: turned into the code
    // page, a folder name outside it would point at another file.
    // No folder known (the executable's own cannot be read and there is no
    // home): no file, rather than one relative to the current folder.
    if (ctx.paths.settingsDirectory().empty()) return std::u16string(kDefaultValue);
    const std::string path = SettingsFilePath(ctx.paths);
    std::array<char, kBufferSize> buffer{};
    const auto count = static_cast<std::int16_t>(ctx.profile.GetPrivateProfileStringA(
        ctx.codePage.fromUnicode(section), ctx.codePage.fromUnicode(key),
        ctx.codePage.fromUnicode(kDefaultValue), buffer.data(), kBufferSize, path));

    // The count is in bytes but is applied to characters: for a value with
    // double-byte characters it reaches past the value into the NULs and
    // padding behind it, which the trim then takes off again.
    std::u16string text = ctx.codePage.toUnicode(std::string_view(buffer.data(), buffer.size()));
    if (text.size() < kBufferSize) text.append(kBufferSize - text.size(), u' ');
    std::u16string value;
    if (count > 0) value = text.substr(0, static_cast<std::size_t>(count));
    return TrimSettingValue(value);
}

std::int16_t WriteSetting(const SettingsContext& ctx, std::u16string_view section,
                          std::u16string_view key, std::u16string_view value) {
    // A settings folder of its own comes into being with the first write;
    // reading never creates it. The executable's folder is never made.
    const std::string directory = ctx.paths.settingsDirectory();
    if (directory.empty()) return 0;
    if (directory != ctx.paths.applicationDirectory() && !CreateSettingsDirectory(directory)) {
        return 0;
    }
    const int result = ctx.profile.WritePrivateProfileStringA(
        ctx.codePage.fromUnicode(section), ctx.codePage.fromUnicode(key),
        ctx.codePage.fromUnicode(value), SettingsFilePath(ctx.paths));
    const auto low = static_cast<std::int16_t>(result & 0xFFFF);
    // A success whose low 16 bits happen to be zero must not read as failure.
    return result != 0 && low == 0 ? std::int16_t{1} : low;
}

std::u16string TrimSettingValue(std::u16string& text) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string::npos) {
        text.clear();
    } else {
        text.erase(text.find_last_not_of(u' ') + 1);
        text.erase(0, first);
    }
    // Spaces are trimmed only before the NULs go: a space just before them
    // stays.
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    return text;
}

}  // namespace talvane
