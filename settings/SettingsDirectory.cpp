#include "settings/SettingsDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace talvane {
namespace {

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool IsWritableDirectory(const std::string& path) {
    return !path.empty() && IsDirectory(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool CreateSettingsDirectory(const std::string& path) {
    if (path.empty()) return false;
    if (IsDirectory(path)) return true;
    // Parents first, one level at a time, so that each new level gets 0700
    // whatever the umask says about the mode passed to mkdir.
    std::size_t end = path.find_first_not_of('/');
    while (end != std::string::npos) {
        end = path.find('/', end);
        const std::string level = path.substr(0, end);
        if (::mkdir(level.c_str(), 0700) == 0) {
            ::chmod(level.c_str(), 0700);
        } else if (errno != EEXIST || !IsDirectory(level)) {
            return false;
        }
        if (end != std::string::npos) end = path.find_first_not_of('/', end);
    }
    return IsDirectory(path);
}

}  // namespace talvane
