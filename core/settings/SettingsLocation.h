#pragma once

#include <string>

#include "platform/AppPaths.h"
#include "platform/CodePage.h"
#include "platform/SettingsStore.h"

namespace talvane {

// What decides where setting.ini lives. The platform gathers it once at
// start-up: the place must not change while the program runs.
struct SettingsPlaceInputs {
    std::string executableDirectory;
    bool executableDirectoryWritable = false;
    std::string xdgConfigHome;  // empty when unset
    std::string home;           // empty when unknown
    // A setting.ini beside the executable holds a client number (see
    // HoldsClientNumber).
    bool executableSettingsHoldNumber = false;
};

// The executable's folder when it is writable, so that a portable copy keeps
// its file beside itself, or when a setting.ini there already holds a client
// number: an administrator who put one beside a read-only copy gave that
// copy its identity, and reading it needs no write access. Otherwise the
// user's own folder; without one the executable's folder again, where
// writes then fail exactly as they would have.
std::string ChooseSettingsDirectory(const std::string& executableDirectory,
                                    bool executableDirectoryWritable,
                                    bool executableSettingsHoldNumber,
                                    const std::string& userDirectory);

// The same with "$XDG_CONFIG_HOME/talvane" as the user's folder, or
// "$HOME/.config/talvane" when that variable is unset, empty or relative.
std::string ChooseSettingsDirectory(const SettingsPlaceInputs& inputs);

// True when setting.ini beside the executable holds a client number that
// the program would keep (see HoldsClientNumber).
bool ExecutableSettingsHoldNumber(const AppPaths& executable, SettingsStore& store,
                                  const CodePage& codePage);

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
