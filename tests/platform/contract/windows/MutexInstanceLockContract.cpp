#include "platform/windows/MutexInstanceLock.h"
#include "tests/platform/contract/InstanceLockContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(Windows, InstanceLockContract,
                         ::testing::Values(InstanceLockImplementation{
                             "MutexInstanceLock",
                             [](const std::string& place) {
                                 return std::make_unique<MutexInstanceLock>(
                                     L"Local\\" + std::wstring(place.begin(), place.end()));
                             }}),
                         ImplementationName());

}  // namespace talvane::contract
