#pragma once

#include <functional>

namespace talvane {

// One instance per user. The lock is taken before the toolkit is started;
// start-up only asks for the outcome.
class InstanceLock {
  public:
    virtual ~InstanceLock() = default;
    // True when another instance already held the lock.
    virtual bool earlierInstanceRunning() const = 0;

    // From a later start: asks the running instance to bring its panel
    // forward, over a channel only this user can reach. Returns at once and
    // quietly, whether or not anyone listened.
    virtual void askEarlierInstanceToShow() {}

    // In the running instance: what a later start's request does. Set by the
    // program before the event loop runs; a face without such a channel
    // never calls it.
    std::function<void()> onShowRequest;
};

}  // namespace talvane
