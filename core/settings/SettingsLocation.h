#pragma once

#include <string>

#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"

namespace talvane {

// What decides where setting.ini lives. The platform gathers it once at
// start-up: the place must not change while the program runs.
struct SettingsPlaceInputs {
    std::string executableDirectory;
    bool executableDirectoryWritable = false;
    std::string xdgConfigHome;  // empty when unset
    std::string home;           // empty when unknown
};

// The executable's folder when it is writable, so that a portable copy keeps
// its file beside itself. Otherwise "$XDG_CONFIG_HOME/talvane", or
// "$HOME/.config/talvane" when that variable is unset, empty or relative.
// Without any usable home the executable's folder again: writes then fail
// there exactly as they would have.
std::string ChooseSettingsDirectory(const SettingsPlaceInputs& inputs);

// True when the settings live in a folder of their own (not beside the
// executable) and no settings file is there yet.
bool IsFreshUserSettings(const AppPaths& paths, const SettingsStore& store);

// The executable's paths, with the settings folder chosen once.
class SettingsLocation : public AppPaths {
  public:
    SettingsLocation(const AppPaths& executable, std::string settingsDirectory);

    std::string applicationDirectory() const override;
    std::string settingsDirectory() const override;

  private:
    const AppPaths& executable_;
    std::string settingsDirectory_;
};

}  // namespace talvane
