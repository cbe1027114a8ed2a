#pragma once

#include <windows.h>
#include <winhttp.h>

namespace talvane {

// Answers a proxy that asked who the user is (407) for one scheme, on the
// request that got the question; the client then sends the request again.
// A seam: the system's integrated sign-in cannot run where the tests run.
class ProxySignIn {
  public:
    virtual ~ProxySignIn() = default;
    // `scheme` is WINHTTP_AUTH_SCHEME_NEGOTIATE or WINHTTP_AUTH_SCHEME_NTLM.
    // false: no answer can be given, the 407 stands.
    virtual bool prepare(HINTERNET request, DWORD scheme) = 0;
};

// The signed-in user's own credentials through the system: no password is
// asked for or stored. Only ever used for the proxy (the target of a 407).
class IntegratedProxySignIn : public ProxySignIn {
  public:
    bool prepare(HINTERNET request, DWORD scheme) override;
};

}  // namespace talvane
