// The in-process server of "Flarebox.DisplayMsg": class factory, unloading
// and per-user registration. The exports are listed in
// Flarebox.DisplayMsg.def.

#include <windows.h>

#include "components/displaymsg-win/CardWindow.h"
#include "components/displaymsg-win/DisplayMsgIdentity.h"
#include "components/displaymsg-win/DisplayMsgObject.h"
#include "components/displaymsg-win/InprocServer.h"

namespace {

HINSTANCE module = nullptr;
talvane::inproc::ClassFactory<talvane::displaymsg::DisplayMsgObject> factory;

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        module = instance;
        talvane::displaymsg::setCardModule(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        talvane::displaymsg::releaseCardClass();
    }
    return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, talvane::displaymsg::kDisplayMsgClsid)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return factory.QueryInterface(iid, out);
}

// A card on screen runs this module's window procedure: unloading it then
// would crash the host.
HRESULT WINAPI DllCanUnloadNow() {
    return talvane::inproc::moduleLocks() == 0 && talvane::displaymsg::openCards() == 0 ? S_OK
                                                                                        : S_FALSE;
}

HRESULT WINAPI DllRegisterServer() {
    return talvane::inproc::registerServer(module, talvane::displaymsg::kDisplayMsgClsid,
                                           talvane::displaymsg::kDisplayMsgProgId,
                                           talvane::displaymsg::kDisplayMsgDescription);
}

HRESULT WINAPI DllUnregisterServer() {
    return talvane::inproc::unregisterServer(talvane::displaymsg::kDisplayMsgClsid,
                                             talvane::displaymsg::kDisplayMsgProgId);
}

}  // extern "C"
