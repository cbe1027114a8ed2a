#pragma once

#include "support/win32/DispatchObject.h"

namespace talvane::displaymsg {

// The "Flarebox.DisplayMsg" object: IDispatch with one method,
//   DisplayAlert(clientNumber, arg2, arg3, message, window)
// clientNumber and message are strings (by value or by reference), arg2 and
// arg3 anything that converts to a 16-bit integer, window an IDispatch
// offering serviceBaseUrl, or nothing. What the method makes of them is in
// components/displaymsg/AlertText.h. It shows a card and returns at once;
// the card outlives the object. Arguments passed by reference are left as
// they are. Failures come back as DISP_E_EXCEPTION with the reason in the
// EXCEPINFO.
class DisplayMsgObject final : public win::DispatchObject {
  public:
    static constexpr DISPID kDisplayAlert = 1;

    DisplayMsgObject();

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  private:
    ~DisplayMsgObject() override;
};

}  // namespace talvane::displaymsg
