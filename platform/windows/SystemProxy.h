#pragma once

#include <chrono>
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

// Looks the proxy up as the system does (a configuration script named in
// the settings or found by automatic detection, else the proxy named by
// hand) and keeps the answer per origin until forget(). A lookup downloads
// and runs a script, or searches the network for one, which can take any
// time: it runs on a thread of its own and the caller waits only until its
// deadline. A later request for the same origin waits for the same lookup
// rather than starting another.
class SystemProxy {
  public:
    using Clock = std::chrono::steady_clock;

    // nullopt: no answer by `deadline`.
    std::optional<ProxyChoice> choose(const std::string& origin, const std::wstring& url,
                                      Clock::time_point deadline);

    // After a failed request, or when the system's settings changed.
    void forget();

  private:
    struct Lookup;
    std::map<std::string, ProxyChoice> known_;
    std::map<std::string, std::shared_ptr<Lookup>> pending_;
};

// Whether a WM_SETTINGCHANGE for `area` (its lParam) may have changed the
// proxy: the Internet settings' own key, a policy, or no area named.
bool MayChangeProxy(const wchar_t* area);

}  // namespace talvane
