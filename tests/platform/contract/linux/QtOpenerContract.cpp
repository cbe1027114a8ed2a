#include "platform/qt/QtOpener.h"
#include "tests/platform/contract/OpenerContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(Linux, OpenerContract,
                         ::testing::Values(OpenerImplementation{
                             "QtOpener", [] { return std::make_unique<QtOpener>(); }}),
                         ImplementationName());

}  // namespace talvane::contract
