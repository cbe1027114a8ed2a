#include "platform/linux/UserFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace talvane {
namespace {

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
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

std::string UserConfigHome() { return Environment("XDG_CONFIG_HOME"); }

std::string UserHome() {
    // A relative HOME would name another folder in every working directory.
    const std::string home = Environment("HOME");
    return !home.empty() && home.front() == '/' ? home : PasswordHome();
}

}  // namespace talvane
