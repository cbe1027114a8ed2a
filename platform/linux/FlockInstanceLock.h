#pragma once

#include <string>

#include "platform/InstanceLock.h"

namespace talvane {

// One instance per user through flock on a per-user lock file. The kernel
// drops the lock when the holder dies, so a crashed instance never blocks the
// next start.
class FlockInstanceLock : public InstanceLock {
  public:
    // Takes the lock at once; lockPath empty means DefaultLockPath().
    explicit FlockInstanceLock(std::string lockPath = {});
    ~FlockInstanceLock() override;
    FlockInstanceLock(const FlockInstanceLock&) = delete;
    FlockInstanceLock& operator=(const FlockInstanceLock&) = delete;

    bool earlierInstanceRunning() const override { return !held_; }

    // The user's runtime directory (/run/user/UID) when it exists and belongs
    // to the user, else a private folder /tmp/talvane-UID. It does not depend
    // on environment variables, so starts from a terminal, from autostart or
    // over ssh all meet at the same file.
    static std::string DefaultLockPath();

  private:
    int fd_ = -1;
    bool held_ = false;
};

}  // namespace talvane
