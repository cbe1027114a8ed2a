#include "tests/platform/contract/HttpClientContract.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/contract/LoopbackServer.h"

namespace talvane::contract {
namespace {

using namespace std::chrono_literals;
using Status = FetchResult::Status;

constexpr std::size_t kCap = 1000;

std::string Response(std::string_view statusLine, std::string_view body,
                     std::string_view extraHeaders = "") {
    return "HTTP/1.1 " + std::string(statusLine) +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
           std::string(extraHeaders) + "Connection: close\r\n\r\n" + std::string(body);
}

std::string Chunked(std::string_view body) {
    std::string out = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
    for (std::size_t at = 0; at < body.size(); at += 100) {
        const auto piece = body.substr(at, 100);
        char size[16];
        std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
        out += size + std::string(piece) + "\r\n";
    }
    return out + "0\r\n\r\n";
}

LoopbackServer::Script Answer(std::string response) {
    return [response](Exchange& exchange, const std::string&) { exchange.send(response); };
}

const char* StatusName(Status s) {
    switch (s) {
        case Status::Ok:
            return "Ok";
        case Status::BadAddress:
            return "BadAddress";
        case Status::ConnectFailed:
            return "ConnectFailed";
        case Status::TimedOut:
            return "TimedOut";
        case Status::TooLarge:
            return "TooLarge";
        case Status::RedirectRefused:
            return "RedirectRefused";
        case Status::ProxyAuthRequired:
            return "ProxyAuthRequired";
        case Status::Failed:
            return "Failed";
    }
    return "?";
}

::testing::AssertionResult Is(Status expected, const FetchResult& r) {
    if (r.status == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "status " << StatusName(r.status) << ", expected "
                                         << StatusName(expected) << " (" << r.reason << ")";
}

// A proxy named by the developer's environment would take the loopback
// traffic of every case elsewhere.
class NoSystemProxy : public ::testing::Environment {
  public:
    void SetUp() override { ScopedSystemProxy::ClearForTests(); }
};
[[maybe_unused]] const auto* const kNoSystemProxy =
    ::testing::AddGlobalTestEnvironment(new NoSystemProxy);

}  // namespace

HttpLimits HttpClientContract::TestLimits() {
    HttpLimits limits;
    limits.connectTimeout = 500ms;
    limits.totalTimeout = 1500ms;
    limits.maxBodyBytes = kCap;
    limits.maxRedirects = 10;
    return limits;
}

TEST_P(HttpClientContract, BodyArrivesByteExact_WhateverTheHttpStatus) {
    // GBK text, a NUL, CR LF and bytes above 0x7F: nothing may be decoded.
    const std::string gbk("<span>\xD6\xD0\xCE\xC4</span>\0\r\n\xFF\x80", 21);
    for (const auto& [statusLine, code] : std::vector<std::pair<std::string, int>>{
             {"200 OK", 200}, {"404 Not Found", 404}, {"500 Oops", 500}}) {
        LoopbackServer server(Answer(Response(statusLine, gbk)));
        const FetchResult r = Client()->get(server.url("/page"));
        ASSERT_TRUE(Is(Status::Ok, r)) << statusLine;
        EXPECT_EQ(r.httpStatus, code);
        EXPECT_EQ(r.body, gbk) << statusLine;
    }
}

TEST_P(HttpClientContract, LeavesNoConnectionOpenOnceTheAnswerIsIn) {
    // A server that would keep the connection: each request is a session of
    // its own, so a connection left open only holds a socket (and under Wine
    // a thread) until it expires.
    std::atomic<int> closed{-1};
    LoopbackServer server([&closed](Exchange& e, const std::string&) {
        e.send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nKeep-Alive: timeout=60\r\n\r\nok");
        closed = e.closedByClientWithin(5s) ? 1 : 0;
    });
    const FetchResult r = Client()->get(server.url("/kept"));
    ASSERT_TRUE(Is(Status::Ok, r));
    EXPECT_EQ(r.body, "ok");
    const auto end = std::chrono::steady_clock::now() + 15s;
    while (closed < 0 && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(closed, 1) << "the connection was still open 5 s after the answer";
}

TEST_P(HttpClientContract, EscapesWhatCannotGoOnTheWire_AndSendsNoAcceptEncoding) {
    LoopbackServer server(Answer(Response("200 OK", "")));
    const auto base = server.url("");
    ASSERT_TRUE(Is(Status::Ok, Client()->get(base + u"/p?id=unknown value&k=中")));
    ASSERT_EQ(server.heads().size(), 1u);
    const std::string head = server.heads()[0];
    EXPECT_EQ(RequestTarget(head), "/p?id=unknown%20value&k=%E4%B8%AD");
    EXPECT_EQ(head.rfind("GET ", 0), 0u) << head;
    // "identity" asks for nothing compressed, as no header does.
    bool present = false;
    const std::string encoding = HeaderValue(head, "Accept-Encoding", &present);
    EXPECT_TRUE(!present || encoding == "identity") << head;
}

TEST_P(HttpClientContract, CompressedBodyIsHandedOverAsItCame) {
    // "hi" gzipped: a server that compresses unasked must not get its body
    // inflated past the cap behind the client's back.
    const std::string gzip(
        "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\xcb\xc8\x04\x00\xac\x2a\x93\xd8\x02\x00\x00\x00",
        22);
    LoopbackServer server(Answer(Response("200 OK", gzip, "Content-Encoding: gzip\r\n")));
    const FetchResult r = Client()->get(server.url("/z"));
    ASSERT_TRUE(Is(Status::Ok, r));
    EXPECT_EQ(r.body, gzip);
}

TEST_P(HttpClientContract, RefusesAnythingButAbsoluteHttpAndHttps) {
    LoopbackServer server(Answer(Response("200 OK", "x")));
    const std::u16string port = server.url("").substr(16);  // ":<port>"
    for (const std::u16string& url : std::vector<std::u16string>{
             u"ftp://127.0.0.1" + port + u"/", u"file:///etc/passwd", u"/relative/path",
             u"127.0.0.1" + port + u"/", u"", u"http://", u"gopher://127.0.0.1" + port + u"/"}) {
        const FetchResult r = Client()->get(url);
        EXPECT_TRUE(Is(Status::BadAddress, r)) << std::string(url.begin(), url.end());
    }
    EXPECT_TRUE(server.heads().empty());
}

TEST_P(HttpClientContract, RefusedConnectionIsConnectFailed) {
    const int port = RefusingPort();
    ASSERT_GT(port, 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    EXPECT_TRUE(Is(Status::ConnectFailed, Client()->get(std::u16string(url.begin(), url.end()))));
}

TEST_P(HttpClientContract, StalledServerTimesOutWithinTheTotalLimit) {
    const std::vector<std::pair<const char*, LoopbackServer::Script>> servers = {
        {"silent", [](Exchange& e, const std::string&) { e.idle(10s); }},
        // Each byte comes well within any idle limit, the whole never in time.
        {"trickling",
         [](Exchange& e, const std::string&) {
             e.send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
             for (int i = 0; i < 100 && !e.stopping() && e.send("x"); ++i) e.idle(100ms);
         }},
    };
    for (const auto& [name, script] : servers) {
        LoopbackServer server(script);
        const auto start = std::chrono::steady_clock::now();
        const FetchResult r = Client()->get(server.url("/slow"));
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_TRUE(Is(Status::TimedOut, r)) << name;
        EXPECT_LT(took, TestLimits().totalTimeout + 1500ms) << name;
    }
}

TEST_P(HttpClientContract, BodyOverTheCapIsTooLarge_DeclaredOrChunked) {
    const std::string atCap(kCap, 'a');
    const std::string overCap(kCap + 1, 'b');
    struct Case {
        const char* name;
        std::string response;
        Status expected;
    };
    const std::vector<Case> cases = {
        {"at the cap", Response("200 OK", atCap), Status::Ok},
        {"declared", Response("200 OK", overCap), Status::TooLarge},
        {"declared, never sent",
         "HTTP/1.1 200 OK\r\nContent-Length: 5000000\r\nConnection: close\r\n\r\n",
         Status::TooLarge},
        {"chunked at the cap", Chunked(atCap), Status::Ok},
        {"chunked", Chunked(overCap), Status::TooLarge},
        {"no length, until close", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + overCap,
         Status::TooLarge},
    };
    for (const auto& c : cases) {
        LoopbackServer server(Answer(c.response));
        const FetchResult r = Client()->get(server.url("/big"));
        EXPECT_TRUE(Is(c.expected, r)) << c.name;
        if (r.ok()) {
            EXPECT_EQ(r.body.size(), kCap) << c.name;
        }
    }
}

namespace {

// "/hop/N" answers with a redirect to "/hop/N-1" (alternately relative and
// absolute), "/hop/0" with the page.
LoopbackServer::Script Hops() {
    return [](Exchange& e, const std::string& head) {
        const std::string target = RequestTarget(head);
        const int n = std::atoi(target.substr(target.rfind('/') + 1).c_str());
        if (target.rfind("/hop/", 0) != 0 || n == 0) {
            e.send(Response("200 OK", "arrived"));
            return;
        }
        const std::string next = "/hop/" + std::to_string(n - 1);
        const std::string location = n % 2 ? next : "http://" + HeaderValue(head, "Host") + next;
        e.send(Response("302 Found", "", "Location: " + location + "\r\n"));
    };
}

}  // namespace

TEST_P(HttpClientContract, FollowsRedirectsOnTheSameOrigin_UpToTheLimit) {
    LoopbackServer server(Hops());
    const FetchResult ten = Client()->get(server.url("/hop/10"));
    ASSERT_TRUE(Is(Status::Ok, ten));
    EXPECT_EQ(ten.body, "arrived");
    EXPECT_EQ(server.heads().size(), 11u);

    EXPECT_TRUE(Is(Status::RedirectRefused, Client()->get(server.url("/hop/11"))));
    EXPECT_EQ(server.heads().size(), 11u + 11u) << "the eleventh redirect is not followed";
}

TEST_P(HttpClientContract, RefusesRedirectsToAnotherOrigin_WithoutReachingIt) {
    LoopbackServer other(Answer(Response("200 OK", "elsewhere")));
    const std::string otherPort = std::to_string(other.port());
    std::string location;
    LoopbackServer origin([&location](Exchange& e, const std::string&) {
        e.send(Response("302 Found", "", "Location: " + location + "\r\n"));
    });
    const std::string originPort = std::to_string(origin.port());
    // The same port on another loopback address: only the host differs.
    LoopbackServer otherHost(Answer(Response("200 OK", "elsewhere")), "127.0.0.2", origin.port());
    ASSERT_TRUE(otherHost.ok());
    for (const std::string& to :
         {"http://127.0.0.1:" + otherPort + "/", "http://127.0.0.2:" + originPort + "/",
          "https://127.0.0.1:" + originPort + "/", "ftp://127.0.0.1:" + originPort + "/",
          "//127.0.0.2:" + originPort + "/"}) {
        location = to;
        const auto before = origin.heads().size();
        EXPECT_TRUE(Is(Status::RedirectRefused, Client()->get(origin.url("/go")))) << to;
        EXPECT_EQ(origin.heads().size(), before + 1) << to;
    }
    EXPECT_TRUE(other.heads().empty());
    EXPECT_TRUE(otherHost.heads().empty());
}

TEST_P(HttpClientContract, GoesThroughTheProxyTheSystemNames) {
    LoopbackServer proxy(Answer(Response("200 OK", "via the proxy")));
    const int unused = RefusingPort();
    const std::string url = "http://127.0.0.2:" + std::to_string(unused) + "/p?q=a b";
    FetchResult r;
    {
        ScopedSystemProxy named(proxy.port());
        r = Client()->get(std::u16string(url.begin(), url.end()));
    }
    ASSERT_TRUE(Is(Status::Ok, r));
    EXPECT_EQ(r.body, "via the proxy");
    ASSERT_EQ(proxy.heads().size(), 1u);
    EXPECT_EQ(proxy.heads()[0].substr(0, proxy.heads()[0].find("\r\n")),
              "GET http://127.0.0.2:" + std::to_string(unused) + "/p?q=a%20b HTTP/1.1");
}

}  // namespace talvane::contract
