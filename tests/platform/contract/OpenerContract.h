#pragma once

#include "platform/Opener.h"
#include "tests/platform/contract/Implementation.h"

namespace talvane::contract {

// Only refusals are checked here: an address that is accepted would start a
// browser. The end-to-end checks see accepted addresses arrive.
using OpenerImplementation = Implementation<Opener>;

class OpenerContract : public ::testing::TestWithParam<OpenerImplementation> {};

}  // namespace talvane::contract
