#include "settings/SettingsLocation.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>

#include "settings/SettingsDirectory.h"
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

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string PasswordHome() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        return {};
    }
    return found->pw_dir;
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

bool IsFreshUserSettings(const AppPaths& paths) {
    const std::string directory = paths.settingsDirectory();
    if (directory == paths.applicationDirectory()) return false;
    struct stat info {};
    // Anything at all under that name (even a dangling link) is the user's.
    return ::lstat(SettingsFilePath(paths).c_str(), &info) != 0 && errno == ENOENT;
}

SettingsLocation::SettingsLocation(const AppPaths& executable, std::string settingsDirectory)
    : executable_(executable), settingsDirectory_(std::move(settingsDirectory)) {}

SettingsLocation SettingsLocation::ForThisProcess(const AppPaths& executable) {
    SettingsPlaceInputs inputs;
    inputs.executableDirectory = executable.applicationDirectory();
    inputs.executableDirectoryWritable = IsWritableDirectory(inputs.executableDirectory);
    inputs.xdgConfigHome = Environment("XDG_CONFIG_HOME");
    inputs.home = Environment("HOME");
    if (!IsUsableBase(inputs.home)) inputs.home = PasswordHome();
    return SettingsLocation(executable, ChooseSettingsDirectory(inputs));
}

std::string SettingsLocation::applicationDirectory() const {
    return executable_.applicationDirectory();
}

std::string SettingsLocation::settingsDirectory() const { return settingsDirectory_; }

}  // namespace talvane
