#pragma once

#include <string>

#include "platform/InstanceLock.h"
#include "tests/platform/contract/Implementation.h"

namespace talvane::contract {

// make(place): a lock on a place of the test's own (an ASCII token the
// implementation turns into its own kind of name), never the program's.
using InstanceLockImplementation = Implementation<InstanceLock, const std::string&>;

class InstanceLockContract : public ::testing::TestWithParam<InstanceLockImplementation> {};

}  // namespace talvane::contract
