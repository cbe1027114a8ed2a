#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fakes/FakeCodePage.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakeRandom.h"
#include "platform/linux/CurlHttpClient.h"
#include "service/VisitReport.h"
#include "tests/core/service/fetch/LocalHttpServer.h"
#include "tests/core/service/fetch/LoopbackSockets.h"

namespace talvane {
namespace {

using testing::FakeCodePage;
using testing::FakeHttpClient;
using testing::FakeRandom;
using Calls = std::vector<std::string>;

class SendVisitTest : public ::testing::Test {
  protected:
    FakeHttpClient http;
    FakeCodePage codePage;
    FakeRandom random{{FakeRandom::drawFor(77)}};
    ServiceContext ctx{http, codePage, random, u"http://svc.test"};
};

TEST_F(SendVisitTest, RequestsVisitPageWithClientNumberAsStored) {
    http.answer("ignored");
    SendVisit(ctx, u"unknown value");
    EXPECT_EQ(http.urls, (std::vector<std::u16string>{
                             u"http://svc.test/EndUsers/visit.aspx?id=unknown value&sjs=77"}));
    EXPECT_EQ(codePage.decodes, 1);
}

TEST_F(SendVisitTest, StillDecodes_WhenTheRequestFails) {
    http.fail();
    SendVisit(ctx, u"C");
    EXPECT_EQ(http.urls.size(), 1u);
    EXPECT_EQ(codePage.decodes, 1);
}

TEST_F(SendVisitTest, ReturnsQuietly_WhenDecodingThrows) {
    codePage.fail = true;
    http.answer("x");
    EXPECT_NO_THROW(SendVisit(ctx, u"C"));
}

TEST(SendVisitOverHttp, ReturnsQuicklyAndQuietly_WhenServiceIsDown) {
    CurlHttpClient http;
    FakeCodePage codePage;
    FakeRandom random;
    ServiceContext ctx{http, codePage, random, testing::LoopbackUrl(testing::UnusedLoopbackPort())};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NO_THROW(SendVisit(ctx, u"unknown value"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(codePage.decodes, 1);
}

TEST(SendVisitOverHttp, ReachesServiceWithEscapedBlank_AndIgnoresErrorPage) {
    testing::LocalHttpServer server;
    server.on("/EndUsers/visit.aspx", [](const httplib::Request&, httplib::Response& res) {
        res.status = 500;
        res.set_content("<html>Server Error</html>", "text/html");
    });
    server.start();
    CurlHttpClient http;
    FakeCodePage codePage;
    FakeRandom random{{FakeRandom::drawFor(30000)}};
    ServiceContext ctx{http, codePage, random, server.baseUrl()};

    EXPECT_NO_THROW(SendVisit(ctx, u"unknown value"));
    EXPECT_EQ(server.targets(), (Calls{"/EndUsers/visit.aspx?id=unknown%20value&sjs=30000"}));
    EXPECT_EQ(codePage.decodes, 1);
}

}  // namespace
}  // namespace talvane
