#include "platform/linux/FlockInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/linux/WriteAccess.h"

namespace talvane {

namespace {

bool isOwnPrivateDirectory(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           WritableOnlyBy(info, {::getuid()});
}

}  // namespace

std::string FlockInstanceLock::DefaultLockPath() {
    const std::string uid = std::to_string(::getuid());
    const std::string runtime = "/run/user/" + uid;
    if (isOwnPrivateDirectory(runtime)) {
        return runtime + "/talvane.lock";
    }
    const std::string fallback = "/tmp/talvane-" + uid;
    ::mkdir(fallback.c_str(), 0700);  // fails harmlessly when it exists
    // Someone else's folder (or a link planted in /tmp) must not decide
    // whether we start; such a lock cannot be trusted, so run unlocked
    // rather than not at all.
    if (!isOwnPrivateDirectory(fallback)) {
        return {};
    }
    return fallback + "/talvane.lock";
}

FlockInstanceLock::FlockInstanceLock(std::string lockPath) {
    if (lockPath.empty()) {
        lockPath = DefaultLockPath();
    }
    if (lockPath.empty()) {
        held_ = true;
        return;
    }
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        held_ = true;  // same reasoning as an untrusted folder
        return;
    }
    held_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

FlockInstanceLock::~FlockInstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

}  // namespace talvane
