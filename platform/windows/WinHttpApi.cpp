#include "platform/windows/WinHttpApi.h"

namespace talvane::win {

namespace {

template <typename Function>
bool take(HMODULE module, const char* name, Function& function) {
    // GetProcAddress returns a generic pointer; the declaration names the
    // real type.
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

bool load(WinHttpApi& api) {
    const HMODULE module = LoadLibraryExW(L"winhttp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return false;
    // Closing a request makes WinHTTP load crypt32 to free the server's
    // certificate, even one a plain http request never had; under Wine that
    // also loads and sets up GnuTLS, milliseconds the first request would
    // spend on the way to the tray icon. Loading it with WinHTTP puts that on
    // the thread that loads WinHTTP first, the proxy lookup started at
    // start-up. Kept, as WinHTTP keeps it once loaded.
    LoadLibraryExW(L"crypt32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return take(module, "WinHttpOpen", api.Open) && take(module, "WinHttpConnect", api.Connect) &&
           take(module, "WinHttpOpenRequest", api.OpenRequest) &&
           take(module, "WinHttpCloseHandle", api.CloseHandle) &&
           take(module, "WinHttpSetOption", api.SetOption) &&
           take(module, "WinHttpSetTimeouts", api.SetTimeouts) &&
           take(module, "WinHttpAddRequestHeaders", api.AddRequestHeaders) &&
           take(module, "WinHttpSendRequest", api.SendRequest) &&
           take(module, "WinHttpReceiveResponse", api.ReceiveResponse) &&
           take(module, "WinHttpQueryHeaders", api.QueryHeaders) &&
           take(module, "WinHttpQueryDataAvailable", api.QueryDataAvailable) &&
           take(module, "WinHttpReadData", api.ReadData) &&
           take(module, "WinHttpQueryAuthSchemes", api.QueryAuthSchemes) &&
           take(module, "WinHttpSetCredentials", api.SetCredentials) &&
           take(module, "WinHttpGetIEProxyConfigForCurrentUser",
                api.GetIEProxyConfigForCurrentUser) &&
           take(module, "WinHttpGetProxyForUrl", api.GetProxyForUrl);
}

}  // namespace

const WinHttpApi* WinHttp() {
    static const WinHttpApi* const api = [] {
        static WinHttpApi loaded;
        return load(loaded) ? &loaded : nullptr;
    }();
    return api;
}

}  // namespace talvane::win
