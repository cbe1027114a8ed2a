#include "contract/HttpClientContract.h"
#include "platform/linux/CurlHttpClient.h"

namespace talvane::testing {

INSTANTIATE_TEST_SUITE_P(
    Curl, HttpClientContract,
    ::testing::Values(HttpClientFactory{
        "Curl", [](const HttpLimits& limits) { return std::make_unique<CurlHttpClient>(limits); }}),
    HttpClientFactoryName);

}  // namespace talvane::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    talvane::testing::ScopedSystemProxy::ClearForTests();
    return RUN_ALL_TESTS();
}
