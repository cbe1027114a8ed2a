#pragma once

#include <string>

#include "platform/InstanceLock.h"

namespace talvane {

// One instance per user through flock on a per-user lock file. The kernel
// drops the lock when the holder dies, so a crashed instance never blocks the
// next start. The holder also listens on a Unix socket beside the lock file;
// a later start connects to it to ask for the panel. A connection is the
// whole request: nothing is read from it.
class FlockInstanceLock : public InstanceLock {
  public:
    // Takes the lock at once; lockPath empty means DefaultLockPath().
    explicit FlockInstanceLock(std::string lockPath = {});
    ~FlockInstanceLock() override;
    FlockInstanceLock(const FlockInstanceLock&) = delete;
    FlockInstanceLock& operator=(const FlockInstanceLock&) = delete;

    bool earlierInstanceRunning() const override { return !held_; }
    void askEarlierInstanceToShow() override;

    // The listening socket of the holder (-1 when there is none), for the
    // face's event loop to watch; readable when a request waits.
    int requestSocket() const { return listenFd_; }
    // Takes every waiting request without blocking and calls onShowRequest
    // once if any came from this user.
    void serveShowRequests();

    // The session's runtime folder (XDG_RUNTIME_DIR) when it is set and
    // private to the user; else the user's runtime directory (/run/user/UID)
    // when it exists and belongs to the user, else a private folder
    // /tmp/talvane-UID. Empty when none can be trusted.
    static std::string DefaultLockPath();
    // The request socket that belongs to a lock file.
    static std::string RequestSocketPath(const std::string& lockPath);

  private:
    void listenForRequests();

    std::string socketPath_;
    int fd_ = -1;
    int listenFd_ = -1;
    bool held_ = false;
};

}  // namespace talvane
