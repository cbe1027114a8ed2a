// How the WinHTTP client follows the user's Internet settings beyond a proxy
// named by hand: a configuration script, automatic detection, a bypass list,
// and a proxy that asks who the user is. Wine reads the same settings and
// runs scripts; the servers are on loopback (the proxy stand-in on another
// address than the service, or WinHTTP would talk to it as to the service).
#include <windows.h>
#include <winhttp.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/windows/WinHttpApi.h"
#include "platform/windows/WinHttpClient.h"
#include "tests/platform/contract/LoopbackServer.h"
#include "tests/platform/contract/windows/InternetSettings.h"

namespace talvane::contract {
namespace {

using namespace std::chrono_literals;
using Status = FetchResult::Status;

std::string Response(std::string_view statusLine, std::string_view body,
                     std::string_view extraHeaders = "") {
    return "HTTP/1.1 " + std::string(statusLine) +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
           std::string(extraHeaders) + "Connection: close\r\n\r\n" + std::string(body);
}

std::u16string Wide(const std::string& text) { return {text.begin(), text.end()}; }

HttpLimits ShortLimits() {
    HttpLimits limits;
    limits.connectTimeout = 1000ms;
    limits.totalTimeout = 3000ms;
    return limits;
}

// Answers every request for a proxy configuration script with `script`.
LoopbackServer::Script ServeScript(std::string script) {
    return [script](Exchange& exchange, const std::string&) {
        exchange.send(
            Response("200 OK", script, "Content-Type: application/x-ns-proxy-autoconfig\r\n"));
    };
}

std::string ScriptNaming(const LoopbackServer& proxy) {
    return "function FindProxyForURL(url, host) { return \"PROXY 127.0.0.2:" +
           std::to_string(proxy.port()) + "\"; }";
}

// The proxy stand-in: answers as the service would, and records (through
// its heads) what it was asked to forward.
LoopbackServer::Script Forward(std::string body) {
    return
        [body](Exchange& exchange, const std::string&) { exchange.send(Response("200 OK", body)); };
}

class WinHttpProxy : public ::testing::Test {
  protected:
    void TearDown() override { WriteInternetSettings(kDirect, ""); }
    // Where no server listens: a request that arrives there went direct.
    const std::string unreached = "http://127.0.0.1:" + std::to_string(RefusingPort());
};

// Each lookup is seen by the script server the settings name at that moment
// (Wine keeps a script it downloaded, so the address changes instead).
TEST_F(WinHttpProxy, ScriptNamesTheProxy_KeptForTheSession_LookedUpAgainAfterAFailureOrAChange) {
    std::atomic<int> forwarded{0};
    LoopbackServer proxy(
        [&](Exchange& exchange, const std::string&) {
            // The third request finds the proxy gone quiet: a failure.
            if (++forwarded == 3) return;
            exchange.send(Response("200 OK", "via the proxy"));
        },
        "127.0.0.2");
    LoopbackServer first(ServeScript(ScriptNaming(proxy)));
    LoopbackServer afterFailure(ServeScript(ScriptNaming(proxy)));
    LoopbackServer afterChange(ServeScript(ScriptNaming(proxy)));
    auto nameScript = [](const LoopbackServer& scripts) {
        WriteInternetSettings(kDirect | kScriptAddress, "", "",
                              "http://127.0.0.1:" + std::to_string(scripts.port()) + "/proxy.pac");
    };
    nameScript(first);
    WinHttpClient client(ShortLimits());
    const std::u16string page = Wide(unreached + "/page");

    const FetchResult r = client.get(page);
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(r.body, "via the proxy");
    EXPECT_EQ(RequestTarget(proxy.heads().at(0)), unreached + "/page");
    nameScript(afterFailure);  // unannounced: the answer kept still counts
    EXPECT_TRUE(client.get(page).ok());
    EXPECT_EQ(first.heads().size(), 1u);
    EXPECT_TRUE(afterFailure.heads().empty());

    EXPECT_FALSE(client.get(page).ok());
    EXPECT_TRUE(client.get(page).ok());
    EXPECT_EQ(afterFailure.heads().size(), 1u) << "looked up again after the failure";

    nameScript(afterChange);
    client.proxySettingsChanged();
    EXPECT_TRUE(client.get(page).ok());
    EXPECT_EQ(afterChange.heads().size(), 1u) << "looked up again after the settings changed";
    EXPECT_EQ(proxy.heads().size(), 5u);
}

TEST_F(WinHttpProxy, ScriptThatNeverArrivesEndsTheRequestAsTimedOut_NothingIsSent) {
    LoopbackServer proxy(Forward("via the proxy"), "127.0.0.2");
    LoopbackServer scripts([](Exchange& exchange, const std::string&) { exchange.idle(10s); });
    WriteInternetSettings(kDirect | kScriptAddress, "", "",
                          "http://127.0.0.1:" + std::to_string(scripts.port()) + "/proxy.pac");
    WinHttpClient client(ShortLimits());

    const FetchResult r = client.get(Wide(unreached + "/page"));
    EXPECT_EQ(r.status, Status::TimedOut) << r.reason;
    EXPECT_TRUE(proxy.heads().empty());
}

TEST_F(WinHttpProxy, AutomaticDetectionWithoutWpadGoesDirect) {
    LoopbackServer service(Forward("direct"));
    WriteInternetSettings(kDirect | kDetectAutomatically, "");
    WinHttpClient client(ShortLimits());

    const FetchResult r = client.get(service.url("/page"));
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(r.body, "direct");
}

// A direct request goes over a socket of its own: a host name is looked up
// on the system's thread pool, and each of its addresses is tried in turn
// (localhost may name ::1 first, where nothing listens).
TEST_F(WinHttpProxy, DirectRequestReachesAHostByName) {
    LoopbackServer service(Forward("by name"));
    WriteInternetSettings(kDirect, "");
    WinHttpClient client(ShortLimits());

    const FetchResult r =
        client.get(Wide("http://localhost:" + std::to_string(service.port()) + "/p"));
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(r.body, "by name");
    ASSERT_EQ(service.heads().size(), 1u);
    EXPECT_EQ(HeaderValue(service.heads()[0], "Host"),
              "localhost:" + std::to_string(service.port()));
}

TEST_F(WinHttpProxy, ProxyNamedByHand_HostsOnTheBypassListGoDirect) {
    LoopbackServer proxy(Forward("via the proxy"), "127.0.0.2");
    LoopbackServer bypassed(Forward("direct"), "127.0.0.3");
    WriteInternetSettings(kDirect | kNamedProxy, "127.0.0.2:" + std::to_string(proxy.port()),
                          "127.0.0.3;<local>");
    WinHttpClient client(ShortLimits());

    const FetchResult direct = client.get(bypassed.url("/page"));
    ASSERT_TRUE(direct.ok()) << direct.reason;
    EXPECT_EQ(direct.body, "direct");
    const FetchResult proxied = client.get(Wide(unreached + "/page"));
    ASSERT_TRUE(proxied.ok()) << proxied.reason;
    EXPECT_EQ(proxied.body, "via the proxy");
    ASSERT_EQ(proxy.heads().size(), 1u);
    EXPECT_EQ(RequestTarget(proxy.heads()[0]), unreached + "/page");
}

// The sign-in seam's contract: what the client asks of it on a 407, and
// what it does with the answer.
class RecordingSignIn : public ProxySignIn {
  public:
    explicit RecordingSignIn(bool grants) : grants_(grants) {}
    bool prepare(HINTERNET request, DWORD scheme) override {
        schemes.push_back(scheme);
        // Granting stands for what the system's sign-in puts on the wire.
        return !grants_ || win::WinHttp()->AddRequestHeaders(
                               request, L"Proxy-Authorization: Negotiate granted\r\n", DWORD(-1),
                               WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    }
    std::vector<DWORD> schemes;

  private:
    bool grants_;
};

// Asks who the user is with `offers`, until the granted answer comes.
LoopbackServer::Script AsksWhoYouAre(std::string offers) {
    return [offers](Exchange& exchange, const std::string& head) {
        if (HeaderValue(head, "Proxy-Authorization") == "Negotiate granted") {
            exchange.send(Response("200 OK", "signed in"));
        } else {
            exchange.send(Response("407 Proxy Authentication Required", "who are you?", offers));
        }
    };
}

TEST_F(WinHttpProxy, SignInAnswersNegotiateOrNtlmOncePerScheme_BasicAndDigestNever) {
    const std::string integrated = "Proxy-Authenticate: Negotiate\r\nProxy-Authenticate: NTLM\r\n";
    const std::string passwords =
        "Proxy-Authenticate: Basic realm=\"corp\"\r\nProxy-Authenticate: Digest realm=\"corp\", "
        "nonce=\"1\"\r\n";
    struct Case {
        const char* name;
        std::string offers;
        bool grants;
        Status status;
        std::vector<DWORD> asked;
        std::size_t requests;
    } cases[] = {
        {"granted", integrated, true, Status::Ok, {WINHTTP_AUTH_SCHEME_NEGOTIATE}, 2},
        {"refused",
         integrated,
         false,
         Status::ProxyAuthRequired,
         {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM},
         3},
        {"NTLM only",
         "Proxy-Authenticate: NTLM\r\n",
         false,
         Status::ProxyAuthRequired,
         {WINHTTP_AUTH_SCHEME_NTLM},
         2},
        {"passwords only", passwords, true, Status::ProxyAuthRequired, {}, 1},
    };
    for (const Case& c : cases) {
        LoopbackServer proxy(AsksWhoYouAre(c.offers), "127.0.0.2");
        WriteInternetSettings(kDirect | kNamedProxy, "127.0.0.2:" + std::to_string(proxy.port()));
        auto signIn = std::make_shared<RecordingSignIn>(c.grants);
        WinHttpClient client(ShortLimits(), signIn);

        const FetchResult r = client.get(Wide(unreached + "/page"));
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.reason;
        if (r.ok()) {
            EXPECT_EQ(r.body, "signed in") << c.name;
        }
        EXPECT_EQ(signIn->schemes, c.asked) << c.name;
        EXPECT_EQ(proxy.heads().size(), c.requests) << c.name;
    }
}

// Wine has no integrated sign-in: the system's own answer cannot be given,
// and the request still ends, after a bounded number of tries.
TEST_F(WinHttpProxy, SystemSignInWithoutAnAnswerEndsAsProxyAuthRequired) {
    LoopbackServer proxy(
        AsksWhoYouAre("Proxy-Authenticate: Negotiate\r\nProxy-Authenticate: NTLM\r\n"),
        "127.0.0.2");
    WriteInternetSettings(kDirect | kNamedProxy, "127.0.0.2:" + std::to_string(proxy.port()));
    WinHttpClient client(ShortLimits());

    const FetchResult r = client.get(Wide(unreached + "/page"));
    EXPECT_EQ(r.status, Status::ProxyAuthRequired) << r.reason;
    EXPECT_GE(proxy.heads().size(), 1u);
    EXPECT_LE(proxy.heads().size(), 3u);
}

}  // namespace
}  // namespace talvane::contract
