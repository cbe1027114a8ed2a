#include "platform/linux/IniSettingsStore.h"
#include "tests/platform/contract/SettingsStoreContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(Linux, SettingsStoreContract,
                         ::testing::Values(SettingsStoreImplementation{
                             "IniSettingsStore",
                             [] { return std::make_unique<IniSettingsStore>(); }}),
                         ImplementationName());

}  // namespace talvane::contract
