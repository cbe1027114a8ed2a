#include "tests/platform/contract/InstanceLockContract.h"

#include <chrono>

namespace talvane::contract {
namespace {

TEST_P(InstanceLockContract, SecondLockSeesTheFirst_AndTheLockIsFreeOnceBothEnd) {
    const std::string place =
        "talvane-contract-" +
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    const auto& make = GetParam().make;

    auto first = make(place);
    EXPECT_FALSE(first->earlierInstanceRunning());
    auto second = make(place);
    EXPECT_TRUE(second->earlierInstanceRunning());
    // A second start ends at once, before the first.
    second.reset();
    first.reset();
    EXPECT_FALSE(make(place)->earlierInstanceRunning());

    auto other = make(place + "-other");
    EXPECT_FALSE(other->earlierInstanceRunning());
}

}  // namespace
}  // namespace talvane::contract
