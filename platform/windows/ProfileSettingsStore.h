#pragma once

#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace talvane {

// The settings file through kernel32's own profile functions
// (GetPrivateProfileStringA / WritePrivateProfileStringA): the files the
// users already have were written by them, so their parsing, quoting and
// line handling are the reference here and nothing of it is redone.
//
// File names are UTF-8 (as every path at the seam on Windows); the A
// functions take them in the ANSI code page, so a name the code page cannot
// spell fails with a reason instead of naming another file. Names and values
// are ANSI bytes, passed through unchanged.
class ProfileSettingsStore : public SettingsStore {
  public:
    SettingRead read(const std::string& file, std::string_view section, std::string_view key,
                     std::size_t maxBytes) const override;
    SettingWrite write(const std::string& file, std::string_view section, std::string_view key,
                       std::string_view value) override;
    bool exists(const std::string& path) const override;
    // The folders are made with the default security of their parent, which
    // under the user's profile is already private to the user.
    SettingWrite makeFolder(const std::string& folder) override;
};

}  // namespace talvane
