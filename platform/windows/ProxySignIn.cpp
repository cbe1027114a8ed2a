#include "platform/windows/ProxySignIn.h"

#include "platform/windows/WinHttpApi.h"

namespace talvane {

bool IntegratedProxySignIn::prepare(HINTERNET request, DWORD scheme) {
    const win::WinHttpApi* api = win::WinHttp();
    if (api == nullptr) return false;
    // The default policy gives the user's credentials to intranet hosts
    // only, and a proxy found by a script or named by hand is not one.
    // Set on this request alone, after its proxy asked.
    DWORD policy = WINHTTP_AUTOLOGON_SECURITY_LEVEL_LOW;
    return api->SetOption(request, WINHTTP_OPTION_AUTOLOGON_POLICY, &policy, sizeof policy) &&
           api->SetCredentials(request, WINHTTP_AUTH_TARGET_PROXY, scheme, nullptr, nullptr,
                               nullptr);
}

}  // namespace talvane
