#include <QCoreApplication>

#include "contract/HttpClientContract.h"
#include "platform/qt/QtHttpClient.h"

namespace talvane::testing {

INSTANTIATE_TEST_SUITE_P(
    Qt, HttpClientContract,
    ::testing::Values(HttpClientFactory{
        "Qt", [](const HttpLimits& limits) { return std::make_unique<QtHttpClient>(limits); }}),
    HttpClientFactoryName);

}  // namespace talvane::testing

// Qt Network wants an application object, as in the program.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    talvane::testing::ScopedSystemProxy::ClearForTests();
    return RUN_ALL_TESTS();
}
