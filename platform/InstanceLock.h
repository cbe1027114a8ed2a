#pragma once

namespace talvane {

// One instance per user. The lock is taken before the toolkit is started;
// start-up only asks for the outcome.
class InstanceLock {
  public:
    virtual ~InstanceLock() = default;
    // True when another instance already held the lock.
    virtual bool earlierInstanceRunning() const = 0;
};

}  // namespace talvane
