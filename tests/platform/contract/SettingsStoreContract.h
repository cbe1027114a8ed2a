#pragma once

#include "platform/SettingsStore.h"
#include "tests/platform/contract/Implementation.h"

namespace talvane::contract {

using SettingsStoreImplementation = Implementation<SettingsStore>;

// What every settings store promises; an implementation runs it with
// INSTANTIATE_TEST_SUITE_P(Name, SettingsStoreContract, Values(...)).
class SettingsStoreContract : public ::testing::TestWithParam<SettingsStoreImplementation> {};

}  // namespace talvane::contract
