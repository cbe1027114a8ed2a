#include "platform/linux/IconvCodePage.h"
#include "tests/platform/contract/CodePageContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(Linux, CodePageContract,
                         ::testing::Values(CodePageImplementation{
                             "IconvGbk", [] { return std::make_unique<IconvCodePage>("GBK"); }}),
                         ImplementationName());

}  // namespace talvane::contract
