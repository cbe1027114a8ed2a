// The settings file as the program reads it: GetPrivateProfileStringA on a
// file holding the input, then ReadSetting on top of it. The buffer always
// comes back terminated and within its size, a shorter buffer gets a prefix
// of the same value, and a file that cannot name the key yields the default.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/AppPaths.h"
#include "platform/linux/IconvCodePage.h"
#include "platform/linux/IniSettingsStore.h"
#include "settings/mdlINI.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using talvane::fuzz::ScratchDirectory;

class ScratchPaths : public talvane::AppPaths {
  public:
    std::string applicationDirectory() const override { return ScratchDirectory(); }
};

constexpr std::string_view kDefault = "unknown value";

struct Query {
    std::string_view section;
    std::string_view key;
};

// The program's own names, names whose GBK trail bytes look like ASCII
// letters and brackets, and names with blanks and capitals.
constexpr Query kQueries[] = {
    {"systemsetting", "sysNumber"},
    {"x\x81\x5D", "\x81\x61"},
    {" S ", "k"},
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string Get(const talvane::IniSettingsStore& ini, const Query& query, std::size_t maxBytes,
                const std::string& path) {
    const talvane::SettingRead read = ini.read(path, query.section, query.key, maxBytes);
    if (read.status != talvane::SettingRead::Status::Found) return std::string(kDefault);
    FUZZ_CHECK(read.value.size() <= maxBytes);
    FUZZ_CHECK(read.value.find('\0') == std::string::npos);
    return read.value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content = talvane::fuzz::Bytes(data, size);
    const std::string path = ScratchDirectory() + "/setting.ini";
    talvane::fuzz::WriteWholeFile(path, content);

    talvane::IniSettingsStore ini;
    const std::string lowerContent = Lower(content);
    std::string value;
    for (const Query& query : kQueries) {
        const std::string found = Get(ini, query, 499, path);
        if (lowerContent.find(Lower(query.key)) == std::string::npos) {
            FUZZ_CHECK(found == kDefault);
        }
        if (&query == &kQueries[0]) value = found;
    }
    // A short buffer cuts the same value, by at most one byte more to keep a
    // double-byte character whole.
    const std::size_t small = size % 9;
    const std::string cut = Get(ini, kQueries[0], small, path);
    FUZZ_CHECK(value.starts_with(cut) || cut == kDefault);
    FUZZ_CHECK(cut.size() + 1 >= std::min<std::size_t>(value.size(), small));

    static const talvane::IconvCodePage gbk("GBK");
    static const ScratchPaths paths;
    const talvane::SettingsContext settings{ini, gbk, paths};
    const std::u16string setting = talvane::ReadSetting(settings, u"systemsetting", u"sysNumber");
    FUZZ_CHECK(setting.size() <= 499);
    FUZZ_CHECK(setting.empty() || setting.back() != u'\0');
    FUZZ_CHECK(setting.empty() || setting.front() != u' ');
    // The value through the code page; only blanks at its ends may differ.
    const std::u16string decoded = gbk.toUnicode(value);
    const auto trimmed = [](std::u16string_view text) {
        const std::size_t first = text.find_first_not_of(u' ');
        if (first == std::u16string_view::npos) return std::u16string_view{};
        return text.substr(first, text.find_last_not_of(u' ') - first + 1);
    };
    FUZZ_CHECK(trimmed(setting) == trimmed(decoded));
    return 0;
}
