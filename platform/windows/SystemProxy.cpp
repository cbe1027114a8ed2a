#include "platform/windows/SystemProxy.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>

#include "platform/windows/WinHttpApi.h"

namespace talvane {

namespace {

void freeIeConfig(WINHTTP_CURRENT_USER_IE_PROXY_CONFIG& ie) {
    if (ie.lpszAutoConfigUrl) GlobalFree(ie.lpszAutoConfigUrl);
    if (ie.lpszProxy) GlobalFree(ie.lpszProxy);
    if (ie.lpszProxyBypass) GlobalFree(ie.lpszProxyBypass);
}

std::optional<ProxyChoice> automaticProxy(const win::WinHttpApi& api,
                                          const WINHTTP_CURRENT_USER_IE_PROXY_CONFIG& ie,
                                          const std::wstring& url) {
    const HINTERNET session = api.Open(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0);
    if (session == nullptr) return std::nullopt;
    WINHTTP_AUTOPROXY_OPTIONS options{};
    if (ie.lpszAutoConfigUrl) {
        options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = ie.lpszAutoConfigUrl;
    }
    if (ie.fAutoDetect) {
        options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
        options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    // Whoever answers for "wpad" on the network would otherwise get the
    // user's NTLM responses when it asks who is there.
    options.fAutoLogonIfChallenged = FALSE;
    std::optional<ProxyChoice> choice;
    WINHTTP_PROXY_INFO info{};
    if (api.GetProxyForUrl(session, url.c_str(), &options, &info)) {
        choice = ProxyChoice{};
        if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && info.lpszProxy) {
            choice->proxy = info.lpszProxy;
            if (info.lpszProxyBypass) choice->bypass = info.lpszProxyBypass;
        }
        if (info.lpszProxy) GlobalFree(info.lpszProxy);
        if (info.lpszProxyBypass) GlobalFree(info.lpszProxyBypass);
    }
    api.CloseHandle(session);
    return choice;
}

}  // namespace

ProxyChoice LookUpSystemProxy(const std::wstring& url) {
    const win::WinHttpUse use;
    const win::WinHttpApi* api = win::WinHttp();
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG ie{};
    if (api == nullptr || !api->GetIEProxyConfigForCurrentUser(&ie)) return {};
    std::optional<ProxyChoice> choice;
    if (ie.fAutoDetect || ie.lpszAutoConfigUrl) choice = automaticProxy(*api, ie, url);
    if (!choice && ie.lpszProxy) {
        choice = ProxyChoice{ie.lpszProxy, ie.lpszProxyBypass ? ie.lpszProxyBypass : L""};
    }
    freeIeConfig(ie);
    return choice.value_or(ProxyChoice{});
}

// Shared by the caller and the lookup's thread: a caller that stopped
// waiting leaves it to the thread, which only ever touches this. The
// system's own thread, event and lock: under Wine, threads made through the
// POSIX layer sometimes did not start for a minute after another had ended.
struct SystemProxy::Lookup {
    Lookup() : done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Lookup() {
        if (done != nullptr) CloseHandle(done);
    }
    Lookup(const Lookup&) = delete;
    Lookup& operator=(const Lookup&) = delete;

    SRWLOCK lock = SRWLOCK_INIT;
    HANDLE done;
    std::optional<ProxyChoice> answer;
};

namespace {

struct LookupWork {
    std::shared_ptr<SystemProxy::Lookup> lookup;
    std::wstring url;
    SystemProxy::LookUp lookUp;
};

DWORD WINAPI runLookup(void* parameter) {
    const std::unique_ptr<LookupWork> work(static_cast<LookupWork*>(parameter));
    // Unloading WinHTTP and what it brought takes milliseconds: done as this
    // thread ends, after the answer is out rather than before it inside the
    // lookup, while the request that waits for it goes on.
    const win::WinHttpUse use;
    ProxyChoice answer = work->lookUp(work->url);
    AcquireSRWLockExclusive(&work->lookup->lock);
    work->lookup->answer = std::move(answer);
    ReleaseSRWLockExclusive(&work->lookup->lock);
    SetEvent(work->lookup->done);
    return 0;
}

DWORD millisecondsUntil(SystemProxy::Clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - SystemProxy::Clock::now());
    if (left.count() <= 0) return 0;
    return static_cast<DWORD>(std::min<std::chrono::milliseconds::rep>(left.count(), INFINITE - 1));
}

}  // namespace

SystemProxy::SystemProxy(LookUp lookUp) : lookUp_(std::move(lookUp)) {}

std::optional<ProxyChoice> SystemProxy::choose(const std::string& origin, const std::wstring& url,
                                               Clock::time_point deadline) {
    if (const auto known = known_.find(origin); known != known_.end()) return known->second;
    auto& lookup = pending_[origin];
    if (!lookup) {
        auto started = std::make_shared<Lookup>();
        auto work = std::make_unique<LookupWork>(LookupWork{started, url, lookUp_});
        const HANDLE thread = started->done != nullptr
                                  ? CreateThread(nullptr, 0, runLookup, work.get(), 0, nullptr)
                                  : nullptr;
        if (thread == nullptr) {
            pending_.erase(origin);
            return std::nullopt;
        }
        work.release();  // the thread owns it now
        CloseHandle(thread);
        lookup = std::move(started);
    }
    WaitForSingleObject(lookup->done, millisecondsUntil(deadline));
    std::optional<ProxyChoice> answer;
    AcquireSRWLockShared(&lookup->lock);
    answer = lookup->answer;
    ReleaseSRWLockShared(&lookup->lock);
    if (answer) {
        known_[origin] = *answer;
        pending_.erase(origin);
    }
    return answer;
}

bool MayChangeProxy(const wchar_t* area) {
    return area == nullptr || lstrcmpiW(area, L"Internet Settings") == 0 ||
           lstrcmpiW(area, L"Policy") == 0;
}

void SystemProxy::forget() { known_.clear(); }

void SystemProxy::settingsChanged() {
    known_.clear();
    pending_.clear();
}

}  // namespace talvane
