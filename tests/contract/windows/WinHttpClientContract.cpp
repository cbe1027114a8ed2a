#include "platform/windows/WinHttpClient.h"
#include "tests/contract/HttpClientContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(WinHttp, HttpClientContract,
                         ::testing::Values(HttpClientImplementation{
                             "WinHttp",
                             [](const HttpLimits& limits) {
                                 return std::make_unique<WinHttpClient>(limits);
                             }}),
                         ImplementationName());

}  // namespace talvane::contract

// Meant for a test prefix under Wine or a test account: the runner replaces
// the user's proxy settings with "direct".
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    talvane::contract::ScopedSystemProxy::ClearForTests();
    return RUN_ALL_TESTS();
}
