#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace talvane {

// The proxy the user's Internet settings name for an address: empty proxy
// means a direct connection.
struct ProxyChoice {
    std::wstring proxy;
    std::wstring bypass;
};

// The proxy the user's settings name for `url`: a configuration script
// (named in the settings or found by automatic detection) first, as the
// system does, then the proxy named by hand, else none.
ProxyChoice LookUpSystemProxy(const std::wstring& url);

// Keeps the answers of a lookup per origin. A lookup downloads and runs a
// script, or searches the network for one, which can take any time: it runs
// on a thread of its own and the caller waits only until its deadline. A
// later request for the same origin waits for the same lookup rather than
// starting another, so that a script that never ends costs one thread.
class SystemProxy {
  public:
    using Clock = std::chrono::steady_clock;
    using LookUp = std::function<ProxyChoice(const std::wstring& url)>;

    explicit SystemProxy(LookUp lookUp = LookUpSystemProxy);

    // nullopt: no answer by `deadline`.
    std::optional<ProxyChoice> choose(const std::string& origin, const std::wstring& url,
                                      Clock::time_point deadline);

    // After a failed request: the answers kept are looked up again; a
    // lookup still running goes on.
    void forget();
    // The system's settings changed: a lookup still running answers for the
    // old ones and is left to end unheard.
    void settingsChanged();

    // What a lookup's thread shares with the requests that wait for it.
    struct Lookup;

  private:
    LookUp lookUp_;
    std::map<std::string, ProxyChoice> known_;
    std::map<std::string, std::shared_ptr<Lookup>> pending_;
};

// Whether a WM_SETTINGCHANGE for `area` (its lParam) may have changed the
// proxy: the Internet settings' own key, a policy, or no area named.
bool MayChangeProxy(const wchar_t* area);

}  // namespace talvane
