#pragma once

#include <objbase.h>
#include <windows.h>

#include <atomic>
#include <new>

// What every in-process COM server of this project needs besides its object:
// the module's lock count, a class factory and per-user registration.
namespace talvane::inproc {

// Objects alive plus LockServer(TRUE) calls; the module may unload at 0.
std::atomic<long>& moduleLocks();

// Creates objects of T, a COM class with a public constructor that starts
// with a reference count of 1.
template <class T>
class ClassFactory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is a static object: it lives as long as the module.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        T* object = new (std::nothrow) T;
        if (object == nullptr) return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        lock ? ++moduleLocks() : --moduleLocks();
        return S_OK;
    }
};

// Writes HKCU\Software\Classes entries for an apartment-threaded in-process
// server in module: CLSID\{clsid} with its InprocServer32 and, unless the
// programmatic identifier already names another class, progId -> clsid.
// Per-user keys need no administrator rights.
HRESULT registerServer(HMODULE module, REFCLSID clsid, const wchar_t* progId,
                       const wchar_t* description);

// Removes what registerServer wrote; a progId naming another class stays.
HRESULT unregisterServer(REFCLSID clsid, const wchar_t* progId);

}  // namespace talvane::inproc
