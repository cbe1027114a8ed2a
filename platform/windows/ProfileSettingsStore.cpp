#include "platform/windows/ProfileSettingsStore.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/ini/IniDocument.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32Error.h"

namespace talvane {
namespace {

// Far beyond any settings value; keeps a careless maxBytes from asking for
// gigabytes of buffer.
constexpr std::size_t kMaxValueBytes = 1u << 20;

// The profile functions answer a missing key with the default they are
// given, so one default cannot tell "missing" from "stored as that". Two
// defaults that no settings file holds can: a stored value comes back the
// same both times.
constexpr const char* kFirstProbe = "\x01";
constexpr const char* kSecondProbe = "\x02";

std::optional<std::string> ansiPath(const std::string& utf8) {
    const std::wstring wide = win::WideFromUtf8(utf8);
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    const int needed = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                             nullptr, 0, nullptr, &lossy);
    if (needed <= 0 || lossy) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), needed,
                          nullptr, nullptr);
    return ansi;
}

const char* const kUnspellablePath = "the file name cannot be written in the ANSI code page";

// The longest prefix of at most maxBytes that ends on a character boundary
// of the ANSI code page.
std::size_t cutLength(std::string_view text, std::size_t maxBytes) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t len =
            ::IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (i + len > maxBytes) break;
        i += len;
    }
    return i;
}

std::string profileString(const std::string& section, const std::string& key,
                          const char* defaultValue, std::size_t capacity, const std::string& path) {
    std::string buffer(capacity, '\0');
    const DWORD got =
        ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue, buffer.data(),
                                   static_cast<DWORD>(capacity), path.c_str());
    buffer.resize(std::min<std::size_t>(got, capacity));
    return buffer;
}

SettingWrite writeFailure(std::string reason) {
    return {SettingWrite::Status::Failed, std::move(reason)};
}

}  // namespace

SettingRead ProfileSettingsStore::read(const std::string& file, std::string_view section,
                                       std::string_view key, std::size_t maxBytes) const {
    SettingRead result;
    const std::optional<std::string> path = ansiPath(file);
    if (!path) return {SettingRead::Status::Failed, {}, kUnspellablePath};

    // The profile functions read a missing file as an empty one and a folder
    // as nothing at all; only the second is worth a reason.
    const DWORD attributes = ::GetFileAttributesW(win::WideFromUtf8(file).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return result;
        return {SettingRead::Status::Failed, {}, win::FailureReason("GetFileAttributesW")};
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return {SettingRead::Status::Failed, {}, "the settings file is a folder"};
    }
    // A name holding NUL cannot stand in a file; the call would see a
    // shorter name instead.
    if (section.find('\0') != std::string_view::npos || key.find('\0') != std::string_view::npos) {
        return result;
    }

    const std::string sectionName(section), keyName(key);
    // One byte beyond maxBytes shows whether a cut is needed, and the NUL.
    const std::size_t capacity = std::min(maxBytes, kMaxValueBytes) + 2;
    std::string value = profileString(sectionName, keyName, kFirstProbe, capacity, *path);
    if (value == kFirstProbe &&
        profileString(sectionName, keyName, kSecondProbe, capacity, *path) == kSecondProbe) {
        return result;
    }
    value.resize(cutLength(value, maxBytes));
    result.status = SettingRead::Status::Found;
    result.value = std::move(value);
    return result;
}

SettingWrite ProfileSettingsStore::write(const std::string& file, std::string_view section,
                                         std::string_view key, std::string_view value) {
    // The profile functions write whatever they get: a line break in a name
    // or value would add a line of its own to the file.
    if (!ini::writable(section, key, value)) {
        return writeFailure("a name or value the file cannot hold (line break, NUL, or a bad key)");
    }
    const std::optional<std::string> path = ansiPath(file);
    if (!path) return writeFailure(kUnspellablePath);

    const std::string sectionName(section), keyName(key), text(value);
    if (!::WritePrivateProfileStringA(sectionName.c_str(), keyName.c_str(), text.c_str(),
                                      path->c_str())) {
        return writeFailure(win::FailureReason("WritePrivateProfileStringA"));
    }
    return {SettingWrite::Status::Written, {}};
}

bool ProfileSettingsStore::exists(const std::string& path) const {
    return ::GetFileAttributesW(win::WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

SettingWrite ProfileSettingsStore::makeFolder(const std::string& folder) {
    const std::wstring wide = win::WideFromUtf8(folder);
    if (wide.empty()) return writeFailure("no folder given");

    // Levels of the root itself ("C:", "\\server\share") are never made.
    std::size_t start = 0;
    if (wide.size() >= 2 && wide[1] == L':') {
        start = 2;
    } else if (wide.starts_with(L"\\\\") || wide.starts_with(L"//")) {
        std::size_t separators = 0;
        for (start = 2; start < wide.size() && separators < 2; ++start) {
            if (wide[start] == L'\\' || wide[start] == L'/') ++separators;
        }
    }

    for (std::size_t end = start; end <= wide.size(); ++end) {
        if (end < wide.size() && wide[end] != L'\\' && wide[end] != L'/') continue;
        if (end == 0 || wide[end - 1] == L'\\' || wide[end - 1] == L'/' || end <= start) continue;
        const std::wstring level = wide.substr(0, end);
        if (::CreateDirectoryW(level.c_str(), nullptr)) continue;
        const DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(level.c_str());
        if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            continue;
        }
        ::SetLastError(error);
        return writeFailure(win::FailureReason("CreateDirectoryW"));
    }
    return {SettingWrite::Status::Written, {}};
}

}  // namespace talvane
