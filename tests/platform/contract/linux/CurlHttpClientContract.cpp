#include "platform/linux/CurlHttpClient.h"
#include "tests/platform/contract/HttpClientContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(
    Curl, HttpClientContract,
    ::testing::Values(HttpClientImplementation{
        "Curl", [](const HttpLimits& limits) { return std::make_unique<CurlHttpClient>(limits); }}),
    ImplementationName());

}  // namespace talvane::contract
