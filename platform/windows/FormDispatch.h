#pragma once

#include <oaidl.h>
#include <windows.h>

#include <atomic>

#include "components/FormObject.h"

namespace talvane {

// The notifier window as an automation object for a popup component:
//   DoTransparency()
//   getTitle(title)      title shortened in place (when passed by reference)
//                        and returned
//   knowIfVisitPage()    Boolean
//   serviceBaseUrl       string (property or method)
// The window is only lent for one call: after detach() every call fails with
// RPC_E_DISCONNECTED, so that a component that keeps the reference cannot
// reach a window that has gone.
class FormDispatch final : public IDispatch {
  public:
    enum : DISPID { kDoTransparency = 1, kGetTitle, kKnowIfVisitPage, kServiceBaseUrl };

    // Starts with one reference, which the creator owns.
    explicit FormDispatch(FormObject& window);
    FormDispatch(const FormDispatch&) = delete;
    FormDispatch& operator=(const FormDispatch&) = delete;

    void detach();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  private:
    ~FormDispatch() = default;

    HRESULT call(DISPID id, DISPPARAMS& params, VARIANT* result);
    HRESULT getTitle(DISPPARAMS& params, VARIANT* result);

    std::atomic<ULONG> references_{1};
    FormObject* window_;
};

}  // namespace talvane
