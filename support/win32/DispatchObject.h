#pragma once

#include <oaidl.h>
#include <objbase.h>
#include <windows.h>

#include <atomic>
#include <span>

namespace talvane::win {

// One method or property of an automation object without a type library.
struct DispatchMember {
    const wchar_t* name;
    DISPID id;
};

// IUnknown and the type-information half of IDispatch for an automation
// object without a type library, reference counted, created with one
// reference that its creator owns. The object adds GetIDsOfNames (usually
// through lookUp) and Invoke.
class DispatchObject : public IDispatch {
  public:
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) *info = nullptr;
        return DISP_E_BADINDEX;
    }

  protected:
    DispatchObject() = default;
    virtual ~DispatchObject() = default;

    // GetIDsOfNames over members: automation names are case-insensitive; the
    // objects take no named arguments, so any name after the first is
    // unknown.
    static HRESULT lookUp(std::span<const DispatchMember> members, LPOLESTR* names, UINT count,
                          DISPID* ids) {
        if (names == nullptr || ids == nullptr) return E_POINTER;
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        if (count == 0) return S_OK;
        for (const DispatchMember& member : members) {
            if (names[0] != nullptr && _wcsicmp(names[0], member.name) == 0) ids[0] = member.id;
        }
        return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
    }

  private:
    std::atomic<ULONG> references_{1};
};

}  // namespace talvane::win
