#include "platform/windows/AnsiCodePage.h"
#include "tests/platform/contract/CodePageContract.h"

namespace talvane::contract {

// The system's own code page: the suite runs with 936 as the users have it
// (wine-run.sh sets the Chinese locale), and 936 named explicitly.
INSTANTIATE_TEST_SUITE_P(
    Windows, CodePageContract,
    ::testing::Values(
        CodePageImplementation{"System", [] { return std::make_unique<AnsiCodePage>(); }},
        CodePageImplementation{"CodePage936", [] { return std::make_unique<AnsiCodePage>(936); }}),
    ImplementationName());

}  // namespace talvane::contract
