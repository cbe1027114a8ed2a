#include "platform/windows/ProfileSettingsStore.h"
#include "tests/platform/contract/SettingsStoreContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(Windows, SettingsStoreContract,
                         ::testing::Values(SettingsStoreImplementation{
                             "ProfileSettingsStore",
                             [] { return std::make_unique<ProfileSettingsStore>(); }}),
                         ImplementationName());

}  // namespace talvane::contract
