#pragma once

#include "platform/CodePage.h"
#include "tests/platform/contract/Implementation.h"

namespace talvane::contract {

// Made for the code page of the program's users: GBK (936).
using CodePageImplementation = Implementation<CodePage>;

class CodePageContract : public ::testing::TestWithParam<CodePageImplementation> {};

}  // namespace talvane::contract
