// WritePrivateProfileStringA on any file with any value: a refused write
// leaves the file as it was, an accepted one reads back as written, keeps
// the other keys' values, and writing the same value again changes no byte.
//
// Input: the value up to the first line feed, then the file's bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/linux/IniSettingsStore.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using talvane::fuzz::ReadWholeFile;

constexpr std::string_view kSection = "systemsetting";
constexpr std::string_view kKey = "sysNumber";
constexpr std::string_view kMissing = "\x01missing";

// Keys a settings file may hold besides the client number.
constexpr std::string_view kNeighbours[][2] = {
    {"systemsetting", "other"}, {"later", "x"}, {"\x81\x41", "k"}, {"s", "sysNumber"}};

std::string Get(const talvane::IniSettingsStore& ini, std::string_view section,
                std::string_view key, const std::string& path) {
    const talvane::SettingRead read = ini.read(path, section, key, 499);
    return read.status == talvane::SettingRead::Status::Found ? read.value : std::string(kMissing);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = talvane::fuzz::Bytes(data, size);
    const std::size_t newline = input.find('\n');
    if (newline == std::string_view::npos) return 0;
    const std::string_view value = input.substr(0, newline);
    const std::string_view content = input.substr(newline + 1);
    const std::string path = talvane::fuzz::ScratchDirectory() + "/setting.ini";
    talvane::fuzz::WriteWholeFile(path, content);

    talvane::IniSettingsStore ini;
    std::string before[std::size(kNeighbours)];
    for (std::size_t i = 0; i < std::size(kNeighbours); ++i) {
        before[i] = Get(ini, kNeighbours[i][0], kNeighbours[i][1], path);
    }

    if (!ini.write(path, kSection, kKey, value).written()) {
        FUZZ_CHECK(ReadWholeFile(path) == content);
        return 0;
    }
    const std::string written = ReadWholeFile(path);
    if (value.size() <= 499 && value.find('\0') == std::string_view::npos) {
        FUZZ_CHECK(Get(ini, kSection, kKey, path) == value);
    }
    for (std::size_t i = 0; i < std::size(kNeighbours); ++i) {
        FUZZ_CHECK(Get(ini, kNeighbours[i][0], kNeighbours[i][1], path) == before[i]);
    }
    FUZZ_CHECK(ini.write(path, kSection, kKey, value).written());
    FUZZ_CHECK(ReadWholeFile(path) == written);
    return 0;
}
