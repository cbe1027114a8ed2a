#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>

#include "fakes/FakeCodePage.h"
#include "platform/linux/CurlHttpClient.h"
#include "platform/linux/IconvCodePage.h"
#include "service/PageFetch.h"
#include "tests/core/service/fetch/LocalHttpServer.h"
#include "tests/core/service/fetch/LoopbackSockets.h"

namespace talvane {
namespace {

using namespace std::chrono_literals;
using testing::LocalHttpServer;

constexpr std::size_t kLimit = 16u * 1024u * 1024u;

HttpLimits TestOptions() {
    HttpLimits options;
    options.connectTimeout = 2s;
    options.totalTimeout = 5s;
    return options;
}

TEST(CurlHttpClient, RefusesAnythingButAnAbsoluteWebAddress) {
    CurlHttpClient http(TestOptions());
    for (const std::u16string_view url :
         {u"file:///etc/passwd", u"ftp://127.0.0.1/", u"/relative", u"127.0.0.1:1/x", u""}) {
        EXPECT_EQ(http.get(url).status, FetchResult::Status::BadAddress)
            << std::string(url.begin(), url.end());
    }
}

class CurlOverLoopback : public ::testing::Test {
  protected:
    CurlOverLoopback() : http(TestOptions()) {}

    PageResult Fetch(std::u16string_view pathAndQuery) {
        return FetchPage(http, gbk, server.url(pathAndQuery));
    }

    LocalHttpServer server;
    CurlHttpClient http;
    IconvCodePage gbk{"GBK"};
};

TEST_F(CurlOverLoopback, DecodesGbkBody_OneCharacterPerDoubleByte) {
    // "<span id=\"lblTopics\">..</span>" around 中文 in GBK.
    server.on("/page", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<span id=\"lblTopics\">\xD6\xD0\xCE\xC4</span>", "text/html");
    });
    server.start();
    const PageResult result = Fetch(u"/page");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.text, u"<span id=\"lblTopics\">中文</span>");
    EXPECT_EQ(ExtractSpanText(result.text, u"lblTopics").text, u"中文");
}

TEST_F(CurlOverLoopback, TurnsInvalidGbkBytesIntoReplacementCharacters) {
    server.on("/broken", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(
            "a\xFF"
            "b\x81",
            "text/html");
    });
    server.start();
    const PageResult result = Fetch(u"/broken");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.text.front(), u'a');
    EXPECT_NE(result.text.find(u'\uFFFD'), std::u16string::npos);
    EXPECT_NE(result.text.find(u'b'), std::u16string::npos);
}

TEST_F(CurlOverLoopback, ReturnsBodyWhateverTheStatus_EmptyOneIncluded) {
    server.on("/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("<html>Not Found</html>", "text/html");
    });
    server.on("/failing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 500;
        res.set_content("<html>Server Error</html>", "text/html");
    });
    server.on("/empty", [](const httplib::Request&, httplib::Response& res) { res.status = 200; });

    server.start();
    const PageResult missing = Fetch(u"/missing");
    ASSERT_TRUE(missing.ok()) << missing.error;
    EXPECT_EQ(missing.text, u"<html>Not Found</html>");
    EXPECT_EQ(ExtractSpanText(missing.text, u"lblTopics").status, SpanResult::Status::NotFound);

    const PageResult failing = Fetch(u"/failing");
    ASSERT_TRUE(failing.ok()) << failing.error;
    EXPECT_EQ(failing.text, u"<html>Server Error</html>");

    const PageResult empty = Fetch(u"/empty");
    ASSERT_TRUE(empty.ok()) << empty.error;
    EXPECT_EQ(empty.text, u"");
}

TEST_F(CurlOverLoopback, FollowsRedirects_ButStopsARedirectLoop) {
    server.on("/old",
              [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/new"); });
    server.on("/new", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("moved here", "text/html");
    });
    server.on("/loop",
              [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });

    server.start();
    const PageResult moved = Fetch(u"/old");
    ASSERT_TRUE(moved.ok()) << moved.error;
    EXPECT_EQ(moved.text, u"moved here");

    const PageResult loop = Fetch(u"/loop");
    EXPECT_FALSE(loop.ok());
    EXPECT_NE(loop.error.find("redirect"), std::string::npos) << loop.error;
    int loopRequests = 0;
    for (const auto& target : server.targets()) loopRequests += target == "/loop";
    EXPECT_EQ(loopRequests, 11);  // the first request and ten redirects
    EXPECT_EQ(http.get(server.url(u"/loop")).status, FetchResult::Status::RedirectRefused);
}

TEST_F(CurlOverLoopback, FollowsNoRedirectToAnotherOrigin) {
    // The same server under another name is another origin.
    server.on("/away", [this](const httplib::Request&, httplib::Response& res) {
        std::u16string elsewhere = server.url(u"/new");
        elsewhere.replace(elsewhere.find(u"127.0.0.1"), 9, u"127.0.0.2");
        res.set_redirect(std::string(elsewhere.begin(), elsewhere.end()));
    });
    server.on("/new", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("moved here", "text/html");
    });
    server.start();
    const FetchResult away = http.get(server.url(u"/away"));
    EXPECT_EQ(away.status, FetchResult::Status::RedirectRefused) << away.reason;
    EXPECT_EQ(server.targets(), (std::vector<std::string>{"/away"}));
}

TEST_F(CurlOverLoopback, SendsBlankAndNonAsciiPercentEncoded_AndKeepsPercentAsIs) {
    server.on("/EndUsers/visit.aspx", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("ok", "text/plain");
    });
    server.start();
    ASSERT_TRUE(Fetch(u"/EndUsers/visit.aspx?id=unknown value&sjs=12").ok());
    ASSERT_TRUE(Fetch(u"/EndUsers/visit.aspx?id=中%41&sjs=1").ok());
    EXPECT_EQ(server.targets(),
              (std::vector<std::string>{"/EndUsers/visit.aspx?id=unknown%20value&sjs=12",
                                        "/EndUsers/visit.aspx?id=%E4%B8%AD%41&sjs=1"}));
}

TEST_F(CurlOverLoopback, RefusesBodiesLargerThan16MiB_WithOrWithoutAnnouncedLength) {
    server.on("/limit", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(kLimit, 'a'), "text/plain");
    });
    server.on("/over", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(kLimit + 1, 'a'), "text/plain");
    });
    server.on("/over-chunked", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
            const std::string chunk(1024 * 1024, 'a');
            if (offset > kLimit) {
                sink.done();
                return true;
            }
            return sink.write(chunk.data(), chunk.size());
        });
    });
    server.start();
    testing::FakeCodePage counting;  // a 16 MiB GBK decode would only slow the test

    const PageResult limit = FetchPage(http, counting, server.url(u"/limit"));
    ASSERT_TRUE(limit.ok()) << limit.error;
    EXPECT_EQ(limit.text.size(), kLimit);

    const PageResult over = FetchPage(http, counting, server.url(u"/over"));
    EXPECT_FALSE(over.ok());
    EXPECT_NE(over.error.find("larger than"), std::string::npos) << over.error;

    const PageResult chunked = FetchPage(http, counting, server.url(u"/over-chunked"));
    EXPECT_FALSE(chunked.ok());
    EXPECT_NE(chunked.error.find("larger than"), std::string::npos) << chunked.error;
}

TEST(CurlHttpClientFailures, ReportsRefusedConnection) {
    CurlHttpClient http(TestOptions());
    testing::FakeCodePage codePage;
    const PageResult result =
        FetchPage(http, codePage, testing::LoopbackUrl(testing::UnusedLoopbackPort()) + u"/x");
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find("GET failed"), std::string::npos) << result.error;
    EXPECT_EQ(http.get(testing::LoopbackUrl(testing::UnusedLoopbackPort()) + u"/x").status,
              FetchResult::Status::ConnectFailed);
}

TEST(CurlHttpClientFailures, GivesUpOnAServerThatNeverAnswers_AtTheTotalTimeout) {
    testing::SilentListener silent;
    ASSERT_TRUE(silent.ok());
    CurlHttpClient http(TestOptions());
    http.setTotalTimeout(300ms);
    testing::FakeCodePage codePage;

    const auto start = std::chrono::steady_clock::now();
    const PageResult result = FetchPage(http, codePage, silent.baseUrl() + u"/slow");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(http.get(silent.baseUrl() + u"/slow").status, FetchResult::Status::TimedOut);
    EXPECT_GE(elapsed, 250ms);
    EXPECT_LT(elapsed, 3s);
}

}  // namespace
}  // namespace talvane
