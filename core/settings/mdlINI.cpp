#include "settings/mdlINI.h"

#include <algorithm>
#include <array>

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
    // The value lands in a buffer of fixed size, cut to leave room for the
    // terminating NUL; the default stands in for anything not found.
    const SettingRead read = ctx.store.read(path, ctx.codePage.fromUnicode(section),
                                            ctx.codePage.fromUnicode(key), kBufferSize - 1);
    const std::string stored = read.status == SettingRead::Status::Found
                                   ? read.value
                                   : ctx.codePage.fromUnicode(kDefaultValue);
    std::array<char, kBufferSize> buffer{};
    const std::size_t copied = std::min(stored.size(), kBufferSize - 1);
    std::copy_n(stored.data(), copied, buffer.data());
    const auto count = static_cast<std::int16_t>(copied);

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
    if (directory != ctx.paths.applicationDirectory() &&
        !ctx.store.makeFolder(directory).written()) {
        return 0;
    }
    const SettingWrite result =
        ctx.store.write(SettingsFilePath(ctx.paths), ctx.codePage.fromUnicode(section),
                        ctx.codePage.fromUnicode(key), ctx.codePage.fromUnicode(value));
    return result.written() ? std::int16_t{1} : std::int16_t{0};
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
