#pragma once

#include "components/FormObject.h"
#include "support/win32/DispatchObject.h"

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
class FormDispatch final : public win::DispatchObject {
  public:
    enum : DISPID { kDoTransparency = 1, kGetTitle, kKnowIfVisitPage, kServiceBaseUrl };

    explicit FormDispatch(FormObject& window);

    void detach();

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  private:
    ~FormDispatch() override = default;

    HRESULT call(DISPID id, DISPPARAMS& params, VARIANT* result);
    HRESULT getTitle(DISPPARAMS& params, VARIANT* result);

    FormObject* window_;
};

}  // namespace talvane
