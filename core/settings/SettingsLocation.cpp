#include "settings/SettingsLocation.h"

#include <utility>

#include "settings/ClientNumber.h"
#include "settings/mdlINI.h"

namespace talvane {
namespace {

// Relative values are ignored, as the base-directory rules of the desktop
// ask: they would name a different folder in every working directory.
bool IsUsableBase(const std::string& path) { return !path.empty() && path.front() == '/'; }

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string UserConfigDirectory(const SettingsPlaceInputs& inputs) {
    if (IsUsableBase(inputs.xdgConfigHome)) {
        return WithoutTrailingSlashes(inputs.xdgConfigHome) + "/talvane";
    }
    if (IsUsableBase(inputs.home)) {
        const std::string home = WithoutTrailingSlashes(inputs.home);
        return (home == "/" ? "" : home) + "/.config/talvane";
    }
    return {};
}

}  // namespace

std::string ChooseSettingsDirectory(const std::string& executableDirectory,
                                    bool executableDirectoryWritable,
                                    bool executableSettingsHoldNumber,
                                    const std::string& userDirectory) {
    if (executableDirectoryWritable || executableSettingsHoldNumber || userDirectory.empty()) {
        return executableDirectory;
    }
    return userDirectory;
}

std::string ChooseSettingsDirectory(const SettingsPlaceInputs& inputs) {
    return ChooseSettingsDirectory(inputs.executableDirectory, inputs.executableDirectoryWritable,
                                   inputs.executableSettingsHoldNumber,
                                   UserConfigDirectory(inputs));
}

bool ExecutableSettingsHoldNumber(const AppPaths& executable, SettingsStore& store,
                                  const CodePage& codePage) {
    const SettingsLocation beside(executable, executable.applicationDirectory());
    return HoldsClientNumber({store, codePage, beside});
}

bool IsFreshUserSettings(const AppPaths& paths, const SettingsStore& store) {
    if (paths.settingsDirectory() == paths.applicationDirectory()) return false;
    // Anything at all under that name (even a dangling link) is the user's.
    return !store.exists(SettingsFilePath(paths));
}

SettingsLocation::SettingsLocation(const AppPaths& executable, std::string settingsDirectory)
    : executable_(executable), settingsDirectory_(std::move(settingsDirectory)) {}

std::string SettingsLocation::applicationDirectory() const {
    return executable_.applicationDirectory();
}

std::string SettingsLocation::settingsDirectory() const { return settingsDirectory_; }

}  // namespace talvane
