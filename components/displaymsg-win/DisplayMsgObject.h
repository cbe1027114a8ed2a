#pragma once

#include <oaidl.h>
#include <windows.h>

#include <atomic>

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
class DisplayMsgObject final : public IDispatch {
  public:
    static constexpr DISPID kDisplayAlert = 1;

    DisplayMsgObject();
    ~DisplayMsgObject();
    DisplayMsgObject(const DisplayMsgObject&) = delete;
    DisplayMsgObject& operator=(const DisplayMsgObject&) = delete;

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
    std::atomic<ULONG> references_{1};
};

}  // namespace talvane::displaymsg
