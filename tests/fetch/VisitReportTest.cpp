#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fakes/FakeCodePage.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakeRandom.h"
#include "fetch/LocalHttpServer.h"
#include "fetch/LoopbackSockets.h"
#include "platform/linux/CurlHttpRequest.h"
#include "service/VisitReport.h"

namespace talvane {
namespace {

using testing::FakeCodePage;
using testing::FakeHttpFactory;
using testing::FakeRandom;
using Calls = std::vector<std::string>;
using FailAt = testing::FakeResponse::FailAt;

class SendVisitTest : public ::testing::Test {
  protected:
    FakeHttpFactory http;
    FakeCodePage codePage;
    FakeRandom random{{FakeRandom::drawFor(77)}};
    ServiceContext ctx{http, codePage, random, u"http://svc.test"};
};

TEST_F(SendVisitTest, RequestsVisitPageWithClientNumberAsStored) {
    http.answer("ignored");
    SendVisit(ctx, u"unknown value");
    EXPECT_EQ(http.urls, (std::vector<std::u16string>{
                             u"http://svc.test/EndUsers/visit.aspx?id=unknown value&sjs=77"}));
    EXPECT_EQ(http.calls, (Calls{"create", "open", "send", "body"}));
    EXPECT_EQ(codePage.decodes, 1);
    EXPECT_EQ(http.liveObjects, 0);
}

TEST_F(SendVisitTest, RunsEveryLaterStep_WhenOneStepFails) {
    for (const FailAt at : {FailAt::Open, FailAt::Send, FailAt::Body}) {
        FakeHttpFactory failing;
        ServiceContext failingCtx{failing, codePage, random, u"http://svc.test"};
        failing.fail(at);
        SendVisit(failingCtx, u"C");
        EXPECT_EQ(failing.calls, (Calls{"create", "open", "send", "body"}));
        EXPECT_EQ(failing.liveObjects, 0);
    }
    EXPECT_EQ(codePage.decodes, 3);
}

TEST_F(SendVisitTest, TriesToCreateTheObjectBeforeEachStep_WhenCreationFails) {
    http.fail(FailAt::Create);
    SendVisit(ctx, u"C");
    EXPECT_EQ(http.calls, (Calls{"create", "create", "create"}));
    EXPECT_EQ(codePage.decodes, 1);
}

TEST_F(SendVisitTest, ReturnsQuietly_WhenDecodingThrows) {
    codePage.fail = true;
    http.answer("x");
    EXPECT_NO_THROW(SendVisit(ctx, u"C"));
}

TEST(SendVisitOverHttp, ReturnsQuicklyAndQuietly_WhenServiceIsDown) {
    CurlHttpRequestFactory http;
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
    CurlHttpRequestFactory http;
    FakeCodePage codePage;
    FakeRandom random{{FakeRandom::drawFor(30000)}};
    ServiceContext ctx{http, codePage, random, server.baseUrl()};

    EXPECT_NO_THROW(SendVisit(ctx, u"unknown value"));
    EXPECT_EQ(server.targets(), (Calls{"/EndUsers/visit.aspx?id=unknown%20value&sjs=30000"}));
    EXPECT_EQ(codePage.decodes, 1);
}

}  // namespace
}  // namespace talvane
