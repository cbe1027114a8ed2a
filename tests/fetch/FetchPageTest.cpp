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
using testing::FakeHttpFactory;
using testing::FakeRandom;
using FailAt = testing::FakeResponse::FailAt;

TEST(FetchPage, ReturnsDecodedBody_AfterCreateOpenSendBody_OnOneReleasedObject) {
    FakeHttpFactory http;
    FakeCodePage codePage;
    http.answer("<html>page</html>");
    const FetchResult result = FetchPage(http, codePage, u"http://h/p?id=unknown value&sjs=1");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.text, u"<html>page</html>");
    EXPECT_EQ(http.calls, (std::vector<std::string>{"create", "open", "send", "body"}));
    EXPECT_EQ(http.urls, (std::vector<std::u16string>{u"http://h/p?id=unknown value&sjs=1"}));
    EXPECT_EQ(http.liveObjects, 0);
}

TEST(FetchPage, ReturnsErrorWithReason_AtTheFirstFailingStep) {
    for (const FailAt at : {FailAt::Create, FailAt::Open, FailAt::Send, FailAt::Body}) {
        FakeHttpFactory http;
        FakeCodePage codePage;
        http.fail(at);
        const FetchResult result = FetchPage(http, codePage, u"http://h/");
        EXPECT_FALSE(result.ok());
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(codePage.decodes, 0);
        EXPECT_EQ(http.liveObjects, 0);
    }
}

TEST(FetchPage, ReturnsError_WhenDecodingThrows) {
    FakeHttpFactory http;
    FakeCodePage codePage;
    codePage.fail = true;
    http.answer("x");
    const FetchResult result = FetchPage(http, codePage, u"http://h/");
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find("fake decode failure"), std::string::npos);
}

class FetchEventPayloadTest : public ::testing::Test {
  protected:
    FakeHttpFactory http;
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
    http.fail(FailAt::Send);
    FetchEventPayload(ctx, payload);
    EXPECT_EQ(payload, u"");
}

}  // namespace
}  // namespace talvane
