#include <filesystem>

#include "platform/linux/FlockInstanceLock.h"
#include "tests/platform/contract/InstanceLockContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(Linux, InstanceLockContract,
                         ::testing::Values(InstanceLockImplementation{
                             "FlockInstanceLock",
                             [](const std::string& place) {
                                 return std::make_unique<FlockInstanceLock>(
                                     (std::filesystem::temp_directory_path() / place).string());
                             }}),
                         ImplementationName());

}  // namespace talvane::contract
