#include "settings/SettingsLocation.h"

#include <utility>

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

}  // namespace

std::string ChooseSettingsDirectory(const SettingsPlaceInputs& inputs) {
    if (inputs.executableDirectoryWritable) return inputs.executableDirectory;
    if (IsUsableBase(inputs.xdgConfigHome)) {
        return WithoutTrailingSlashes(inputs.xdgConfigHome) + "/talvane";
    }
    if (IsUsableBase(inputs.home)) {
        const std::string home = WithoutTrailingSlashes(inputs.home);
        return (home == "/" ? "" : home) + "/.config/talvane";
    }
    return inputs.executableDirectory;
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
