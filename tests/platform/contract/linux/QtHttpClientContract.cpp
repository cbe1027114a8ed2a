#include <QCoreApplication>
#include <memory>

#include "platform/qt/QtHttpClient.h"
#include "tests/platform/contract/HttpClientContract.h"

namespace talvane::contract {

namespace {
// Qt Network wants an application object, as in the program.
class QtApplication : public ::testing::Environment {
  public:
    void SetUp() override { app_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[8] = "talvane";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};
[[maybe_unused]] const auto* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplication);
}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Qt, HttpClientContract,
    ::testing::Values(HttpClientImplementation{
        "Qt", [](const HttpLimits& limits) { return std::make_unique<QtHttpClient>(limits); }}),
    ImplementationName());

}  // namespace talvane::contract
