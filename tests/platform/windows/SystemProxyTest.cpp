#include "platform/windows/SystemProxy.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace talvane {
namespace {

using namespace std::chrono_literals;

// Lookups that answer only once released, as a script that runs for a long
// time.
struct HeldLookups {
    std::mutex mutex;
    std::condition_variable released;
    bool open = false;
    std::atomic<int> started{0};

    void release() {
        const std::lock_guard<std::mutex> lock(mutex);
        open = true;
        released.notify_all();
    }
};

// The lookup's thread shares the state: it may end after the test.
SystemProxy::LookUp HeldLookUp(std::shared_ptr<HeldLookups> held, std::wstring proxy) {
    return [held, proxy](const std::wstring&) {
        ++held->started;
        std::unique_lock<std::mutex> lock(held->mutex);
        held->released.wait(lock, [&] { return held->open; });
        return ProxyChoice{proxy, L""};
    };
}

SystemProxy::Clock::time_point Soon() { return SystemProxy::Clock::now() + 50ms; }
SystemProxy::Clock::time_point Later() { return SystemProxy::Clock::now() + 60s; }

TEST(SystemProxy, SlowLookupEndsTheWaitAtTheDeadline_LaterRequestsWaitForTheSameOne) {
    auto held = std::make_shared<HeldLookups>();
    SystemProxy proxies(HeldLookUp(held, L"127.0.0.2:8080"));
    const std::string origin = "http://127.0.0.1:80";

    EXPECT_EQ(proxies.choose(origin, L"http://127.0.0.1/a", Soon()), std::nullopt);
    EXPECT_EQ(proxies.choose(origin, L"http://127.0.0.1/a", Soon()), std::nullopt);
    proxies.forget();  // a failed request: the running lookup goes on
    EXPECT_EQ(proxies.choose(origin, L"http://127.0.0.1/a", Soon()), std::nullopt);
    EXPECT_EQ(held->started, 1);

    held->release();
    const auto answer = proxies.choose(origin, L"http://127.0.0.1/a", Later());
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->proxy, L"127.0.0.2:8080");
    EXPECT_TRUE(proxies.choose(origin, L"http://127.0.0.1/b", Soon()));
    EXPECT_EQ(held->started, 1) << "kept for the session";

    proxies.forget();
    EXPECT_TRUE(proxies.choose(origin, L"http://127.0.0.1/a", Later()));
    EXPECT_EQ(held->started, 2) << "looked up again after a failure";
    proxies.settingsChanged();
    EXPECT_TRUE(proxies.choose(origin, L"http://127.0.0.1/a", Later()));
    EXPECT_EQ(held->started, 3) << "looked up again after the settings changed";
}

TEST(SystemProxy, SettingsChangeLeavesARunningLookupUnheard_AndStartsAnother) {
    auto held = std::make_shared<HeldLookups>();
    {
        SystemProxy proxies(HeldLookUp(held, L"old:8080"));
        EXPECT_EQ(proxies.choose("http://h:80", L"http://h/", Soon()), std::nullopt);
        proxies.settingsChanged();
        EXPECT_EQ(proxies.choose("http://h:80", L"http://h/", Soon()), std::nullopt);
        EXPECT_EQ(held->started, 2);
    }
    // Both lookups end after their SystemProxy has gone.
    held->release();
}

TEST(SystemProxy, OnlyTheInternetSettingsAPolicyOrNoAreaMayChangeTheProxy) {
    EXPECT_TRUE(MayChangeProxy(nullptr));
    EXPECT_TRUE(MayChangeProxy(L"Internet Settings"));
    EXPECT_TRUE(MayChangeProxy(L"internet settings"));
    EXPECT_TRUE(MayChangeProxy(L"Policy"));
    EXPECT_FALSE(MayChangeProxy(L"intl"));
    EXPECT_FALSE(MayChangeProxy(L"ImmersiveColorSet"));
}

}  // namespace
}  // namespace talvane
