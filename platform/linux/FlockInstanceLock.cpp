#include "platform/linux/FlockInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/linux/WriteAccess.h"

namespace talvane {

namespace {

bool isOwnPrivateDirectory(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           WritableOnlyBy(info, {::getuid()});
}

// The session's runtime folder as the XDG rules describe it: an absolute
// path to a folder of the user's that nobody else may enter.
bool isSessionRuntimeDirectory(const char* path) {
    struct stat info {};
    return path != nullptr && path[0] == '/' && ::lstat(path, &info) == 0 &&
           S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

// Fills addr with path; false when the path does not fit a socket address.
bool socketAddress(const std::string& path, sockaddr_un& addr) {
    addr = {};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(addr.sun_path)) {
        return false;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

std::string FlockInstanceLock::RequestSocketPath(const std::string& lockPath) {
    const std::string suffix = ".lock";
    const bool hasSuffix =
        lockPath.size() > suffix.size() &&
        lockPath.compare(lockPath.size() - suffix.size(), suffix.size(), suffix) == 0;
    return (hasSuffix ? lockPath.substr(0, lockPath.size() - suffix.size()) : lockPath) + ".sock";
}

std::string FlockInstanceLock::DefaultLockPath() {
    // Two desktops with runtime folders of their own (a second seat, a
    // nested session) each get an instance of their own.
    const char* session = std::getenv("XDG_RUNTIME_DIR");
    if (isSessionRuntimeDirectory(session)) {
        return std::string(session) + "/talvane.lock";
    }
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
    socketPath_ = RequestSocketPath(lockPath);
    if (held_) {
        listenForRequests();
    }
}

FlockInstanceLock::~FlockInstanceLock() {
    if (listenFd_ >= 0) {
        // Still under the lock: no later holder can have bound it yet.
        ::unlink(socketPath_.c_str());
        ::close(listenFd_);
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void FlockInstanceLock::listenForRequests() {
    sockaddr_un addr{};
    if (!socketAddress(socketPath_, addr)) {
        return;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return;
    }
    // Whatever is left there belongs to an instance that has ended: only the
    // lock's holder binds this name.
    ::unlink(socketPath_.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::chmod(socketPath_.c_str(), 0600) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return;
    }
    listenFd_ = fd;
}

void FlockInstanceLock::askEarlierInstanceToShow() {
    sockaddr_un addr{};
    struct stat info {};
    // Only a socket of our own: a file someone else put there is not asked.
    if (!socketAddress(socketPath_, addr) || ::lstat(socketPath_.c_str(), &info) != 0 ||
        !S_ISSOCK(info.st_mode) || info.st_uid != ::getuid()) {
        return;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return;
    }
    // Non-blocking: a full backlog means requests are already waiting.
    ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    ::close(fd);
}

void FlockInstanceLock::serveShowRequests() {
    if (listenFd_ < 0) {
        return;
    }
    bool asked = false;
    for (;;) {
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0) {
            break;
        }
        ucred peer{};
        socklen_t size = sizeof peer;
        if (::getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
            peer.uid == ::getuid()) {
            asked = true;
        }
        ::close(client);
    }
    if (asked && onShowRequest) {
        onShowRequest();
    }
}

}  // namespace talvane
