#include "contract/HttpClientContract.h"
#include "platform/windows/WinHttpClient.h"

namespace talvane::testing {

INSTANTIATE_TEST_SUITE_P(WinHttp, HttpClientContract,
                         ::testing::Values(HttpClientFactory{
                             "WinHttp",
                             [](const HttpLimits& limits) {
                                 return std::make_unique<WinHttpClient>(limits);
                             }}),
                         HttpClientFactoryName);

}  // namespace talvane::testing

// Meant for a test prefix under Wine or a test account: the runner replaces
// the user's proxy settings with "direct".
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    talvane::testing::ScopedSystemProxy::ClearForTests();
    return RUN_ALL_TESTS();
}
