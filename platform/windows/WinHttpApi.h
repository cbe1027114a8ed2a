#pragma once

#include <windows.h>
#include <winhttp.h>

namespace talvane::win {

// WinHTTP's entry points, taken from the system folder at run time. WinHTTP
// is not one of the system's known DLLs: imported statically, a copy
// planted beside a portable talvane.exe would be loaded in its place.
struct WinHttpApi {
    decltype(&::WinHttpOpen) Open = nullptr;
    decltype(&::WinHttpConnect) Connect = nullptr;
    decltype(&::WinHttpOpenRequest) OpenRequest = nullptr;
    decltype(&::WinHttpCloseHandle) CloseHandle = nullptr;
    decltype(&::WinHttpSetOption) SetOption = nullptr;
    decltype(&::WinHttpSetTimeouts) SetTimeouts = nullptr;
    decltype(&::WinHttpAddRequestHeaders) AddRequestHeaders = nullptr;
    decltype(&::WinHttpSendRequest) SendRequest = nullptr;
    decltype(&::WinHttpReceiveResponse) ReceiveResponse = nullptr;
    decltype(&::WinHttpQueryHeaders) QueryHeaders = nullptr;
    decltype(&::WinHttpQueryDataAvailable) QueryDataAvailable = nullptr;
    decltype(&::WinHttpReadData) ReadData = nullptr;
    decltype(&::WinHttpQueryAuthSchemes) QueryAuthSchemes = nullptr;
    decltype(&::WinHttpSetCredentials) SetCredentials = nullptr;
    decltype(&::WinHttpGetIEProxyConfigForCurrentUser) GetIEProxyConfigForCurrentUser = nullptr;
    decltype(&::WinHttpGetProxyForUrl) GetProxyForUrl = nullptr;
};

// Keeps WinHTTP loaded, from System32 only, while one lives on any thread.
// A program that goes straight to its service needs WinHTTP only to look
// up the proxy, a few times a day: between those it holds none of WinHTTP's
// libraries (jsproxy and COM with it, and under Wine crypt32 and GnuTLS).
class WinHttpUse {
  public:
    WinHttpUse();
    ~WinHttpUse();
    WinHttpUse(const WinHttpUse&) = delete;
    WinHttpUse& operator=(const WinHttpUse&) = delete;
};

// The entry points while a WinHttpUse lives; nullptr when the library or
// one of its entry points is missing.
const WinHttpApi* WinHttp();

}  // namespace talvane::win
