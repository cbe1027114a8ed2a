#include "platform/windows/WinHttpClient.h"
#include "tests/platform/contract/HttpClientContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(WinHttp, HttpClientContract,
                         ::testing::Values(HttpClientImplementation{
                             "WinHttp",
                             [](const HttpLimits& limits) {
                                 return std::make_unique<WinHttpClient>(limits);
                             }}),
                         ImplementationName());

}  // namespace talvane::contract
