#include "platform/windows/ShellOpener.h"
#include "tests/platform/contract/OpenerContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(Windows, OpenerContract,
                         ::testing::Values(OpenerImplementation{
                             "ShellOpener", [] { return std::make_unique<ShellOpener>(); }}),
                         ImplementationName());

}  // namespace talvane::contract
