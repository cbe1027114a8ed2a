#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/qt/QtHttpClient.h"
#include "tests/platform/contract/HttpClientContract.h"
#include "tests/platform/contract/LoopbackServer.h"

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

namespace {

using namespace std::chrono_literals;
using Status = FetchResult::Status;
using Clock = std::chrono::steady_clock;

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

LoopbackServer::Script Page() {
    return [](Exchange& e, const std::string&) {
        e.send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
    };
}

// A proxy look-up that stays where a desktop's proxy script would hang
// until the test lets it go.
struct HangingLookup {
    std::mutex mutex;
    std::condition_variable released;
    bool free = false;
    std::atomic<int> returned{0};

    void release() {
        const std::lock_guard lock(mutex);
        free = true;
        released.notify_all();
    }
    QList<QNetworkProxy> hang() {
        std::unique_lock lock(mutex);
        released.wait(lock, [&] { return free; });
        ++returned;
        return {QNetworkProxy::NoProxy};
    }
};

}  // namespace

TEST(QtHttpClient, EndlessHeadLineEndsAfterTheResponseTimeout_NotTheTotal) {
    struct Case {
        const char* name;
        std::string start;  // then 'x' without end
    };
    for (const Case& c : std::vector<Case>{
             {"status line", "HTTP/1.1 200 "},
             {"header", "HTTP/1.1 200 OK\r\nX-Endless: "},
             {"chunk-size line",
              "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
              "2\r\nok\r\n1"},
         }) {
        LoopbackServer server([&c](Exchange& e, const std::string&) {
            if (!e.send(c.start)) return;
            const std::string endless(4096, 'x');
            while (!e.stopping() && e.send(endless)) std::this_thread::sleep_for(1ms);
        });
        HttpLimits limits;
        limits.totalTimeout = 60s;
        limits.responseTimeout = 500ms;
        const auto start = Clock::now();
        const FetchResult r = QtHttpClient(limits).get(server.url("/endless"));
        EXPECT_EQ(r.status, Status::TimedOut) << c.name << ": " << r.reason;
        // Far below the total, with room for a loaded machine.
        EXPECT_LT(Clock::now() - start, 20s) << c.name;
    }
}

TEST(QtHttpClient, WorkerStuckInTheProxyLookupIsLeftBehind_AndTheNextRequestAsksAgain) {
    LoopbackServer server(Page());
    auto hanging = std::make_shared<HangingLookup>();
    std::atomic<int> lookups{0};
    HttpLimits limits;
    limits.totalTimeout = 1500ms;
    {
        QtHttpClient client(limits, [hanging, &lookups](const QNetworkProxyQuery&) {
            return ++lookups == 1 ? hanging->hang() : QList<QNetworkProxy>{QNetworkProxy::NoProxy};
        });
        const auto start = Clock::now();
        const FetchResult stuck = client.get(server.url("/a"));
        EXPECT_EQ(stuck.status, Status::TimedOut) << stuck.reason;
        EXPECT_LT(Clock::now() - start, limits.totalTimeout + 10s);
        EXPECT_EQ(client.workersLeftBehind(), 1u);

        const FetchResult next = client.get(server.url("/b"));
        ASSERT_EQ(next.status, Status::Ok) << next.reason;
        EXPECT_EQ(next.body, "ok");
        EXPECT_EQ(lookups, 2);
    }
    // The client is gone; the worker it left goes on with its own request.
    hanging->release();
    const auto reached = [&] {
        for (const std::string& head : server.heads()) {
            if (RequestTarget(head) == "/a") return true;
        }
        return false;
    };
    for (int i = 0; i < 2000 && !reached(); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(reached());
}

TEST(QtHttpClient, AsksForTheProxyOncePerOrigin_AndAgainAfterAFailedRequest) {
    LoopbackServer server(Page());
    LoopbackServer other(Page(), "127.0.0.2");
    ASSERT_TRUE(other.ok());
    std::vector<std::string> asked;
    std::mutex mutex;
    QtHttpClient client(HttpLimits{}, [&](const QNetworkProxyQuery& query) {
        const std::lock_guard lock(mutex);
        asked.push_back(query.url().host().toStdString());
        return QList<QNetworkProxy>{QNetworkProxy::NoProxy};
    });
    EXPECT_TRUE(client.get(server.url("/1")).ok());
    EXPECT_TRUE(client.get(server.url("/2")).ok());
    EXPECT_TRUE(client.get(other.url("/3")).ok());
    EXPECT_EQ(asked, (std::vector<std::string>{"127.0.0.1", "127.0.0.2"}));

    const int port = RefusingPort();
    const std::u16string refused = Wide("http://127.0.0.1:" + std::to_string(port) + "/");
    EXPECT_EQ(client.get(refused).status, Status::ConnectFailed);
    EXPECT_EQ(client.get(refused).status, Status::ConnectFailed);
    EXPECT_EQ(asked.size(), 4u) << "a failed request forgets its origin's answer";
    EXPECT_TRUE(client.get(server.url("/4")).ok());
    EXPECT_EQ(asked.size(), 4u);
}

}  // namespace talvane::contract
