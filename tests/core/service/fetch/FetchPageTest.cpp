#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeCodePage.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakeRandom.h"
#include "service/EventList.h"
#include "service/PageFetch.h"

namespace talvane {
namespace {

using testing::FakeCodePage;
using testing::FakeHttpClient;
using testing::FakeRandom;

TEST(FetchPage, ReturnsDecodedBody_OfOneGet) {
    FakeHttpClient http;
    FakeCodePage codePage;
    http.answer("<html>page</html>");
    const PageResult result = FetchPage(http, codePage, u"http://h/p?id=unknown value&sjs=1");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.text, u"<html>page</html>");
    EXPECT_EQ(http.urls, (std::vector<std::u16string>{u"http://h/p?id=unknown value&sjs=1"}));
}

TEST(FetchPage, ReturnsErrorWithTheClientsReason_AndDecodesNothing) {
    using Status = FetchResult::Status;
    for (const Status status :
         {Status::BadAddress, Status::ConnectFailed, Status::TimedOut, Status::TooLarge,
          Status::RedirectRefused, Status::ProxyAuthRequired, Status::Failed}) {
        FakeHttpClient http;
        FakeCodePage codePage;
        http.fail(status);
        const PageResult result = FetchPage(http, codePage, u"http://h/");
        EXPECT_FALSE(result.ok());
        EXPECT_NE(result.error.find("fake failure"), std::string::npos) << result.error;
        EXPECT_EQ(codePage.decodes, 0);
    }
}

TEST(FetchPage, ReturnsError_WhenDecodingThrows) {
    FakeHttpClient http;
    FakeCodePage codePage;
    codePage.fail = true;
    http.answer("x");
    const PageResult result = FetchPage(http, codePage, u"http://h/");
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find("fake decode failure"), std::string::npos);
}

class FetchEventPayloadTest : public ::testing::Test {
  protected:
    FakeHttpClient http;
    FakeCodePage codePage;
    FakeRandom random{{FakeRandom::drawFor(4321)}};
    ServiceContext ctx{http, codePage, random, u"http://svc.test"};
    std::u16string payload = u"before";
};

TEST_F(FetchEventPayloadTest, RequestsListPageWithCacheBusterOnly) {
    http.answer("<span id=\"lblTopics\">a||||1</span>");
    FetchEventPayload(ctx, payload);
    EXPECT_EQ(http.urls,
              (std::vector<std::u16string>{u"http://svc.test/EndUsers/Clientnew.aspx?sjs=4321"}));
    EXPECT_EQ(payload, u"a||||1");
}

TEST_F(FetchEventPayloadTest, SetsEmptyPayload_WhenSpanIsEmpty) {
    http.answer("<span id=\"lblTopics\"></span>");
    FetchEventPayload(ctx, payload);
    EXPECT_EQ(payload, u"");
}

TEST_F(FetchEventPayloadTest, LeavesPayloadUnchanged_WhenMarkerIsMissing) {
    http.answer("<html>404 page without the list</html>");
    FetchEventPayload(ctx, payload);
    EXPECT_EQ(payload, u"before");
}

TEST_F(FetchEventPayloadTest, EmptiesPayload_WhenFetchFails) {
    http.fail();
    FetchEventPayload(ctx, payload);
    EXPECT_EQ(payload, u"");
}

}  // namespace
}  // namespace talvane
