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

bool take(HMODULE module, WinHttpApi& api) {
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

// The proxy lookup's thread and the requests on the main thread share it.
SRWLOCK lock = SRWLOCK_INIT;
int uses = 0;
HMODULE module = nullptr;
WinHttpApi api;
const WinHttpApi* loaded = nullptr;

}  // namespace

WinHttpUse::WinHttpUse() {
    AcquireSRWLockExclusive(&lock);
    if (uses++ == 0) {
        module = LoadLibraryExW(L"winhttp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        loaded = module != nullptr && take(module, api) ? &api : nullptr;
    }
    ReleaseSRWLockExclusive(&lock);
}

WinHttpUse::~WinHttpUse() {
    AcquireSRWLockExclusive(&lock);
    if (--uses == 0) {
        // Every handle of the last use is closed by now, as WinHTTP asks
        // before it is unloaded.
        loaded = nullptr;
        if (module != nullptr) FreeLibrary(module);
        module = nullptr;
    }
    ReleaseSRWLockExclusive(&lock);
}

const WinHttpApi* WinHttp() {
    AcquireSRWLockShared(&lock);
    const WinHttpApi* current = loaded;
    ReleaseSRWLockShared(&lock);
    return current;
}

}  // namespace talvane::win
