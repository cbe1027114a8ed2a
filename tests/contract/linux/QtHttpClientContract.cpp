#include <QCoreApplication>

#include "platform/qt/QtHttpClient.h"
#include "tests/contract/HttpClientContract.h"

namespace talvane::contract {

INSTANTIATE_TEST_SUITE_P(
    Qt, HttpClientContract,
    ::testing::Values(HttpClientImplementation{
        "Qt", [](const HttpLimits& limits) { return std::make_unique<QtHttpClient>(limits); }}),
    ImplementationName());

}  // namespace talvane::contract

// Qt Network wants an application object, as in the program.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    talvane::contract::ScopedSystemProxy::ClearForTests();
    return RUN_ALL_TESTS();
}
