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
