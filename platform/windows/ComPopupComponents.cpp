#include "platform/windows/ComPopupComponents.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "platform/windows/FormDispatch.h"
#include "platform/windows/WideText.h"
#include "support/win32/BstrText.h"
#include "support/win32/ComOwners.h"

namespace talvane {

namespace {

using Microsoft::WRL::ComPtr;

// "0x80040154 <the system's words for it>".
std::string hresultText(HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(hr));
    wchar_t* words = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(hr), 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
    std::wstring text(words != nullptr ? words : L"", length);
    LocalFree(words);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    return text.empty() ? code : std::string(code) + " " + win::Utf8FromWide(text);
}

bool meansNotInstalled(HRESULT hr) {
    return hr == CO_E_CLASSSTRING || hr == REGDB_E_CLASSNOTREG || hr == CO_E_DLLNOTFOUND ||
           hr == CO_E_APPNOTFOUND || hr == HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) ||
           hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

ComponentResult failed(std::string reason) {
    return {ComponentResult::Status::Failed, std::move(reason)};
}

// The component's own account of a failed call: its EXCEPINFO when it
// raised one, else the HRESULT.
std::string invokeFailure(HRESULT hr, EXCEPINFO& exception, UINT argumentError) {
    std::string reason = "DisplayAlert: ";
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
        const HRESULT code = exception.scode != 0 ? exception.scode : HRESULT(exception.wCode);
        if (exception.bstrSource != nullptr && SysStringLen(exception.bstrSource) > 0) {
            reason += win::Utf8FromWide(exception.bstrSource) + ": ";
        }
        if (exception.bstrDescription != nullptr && SysStringLen(exception.bstrDescription) > 0) {
            reason += win::Utf8FromWide(exception.bstrDescription) + " (" + hresultText(code) + ")";
        } else {
            reason += hresultText(code);
        }
    } else {
        reason += hresultText(hr);
        if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) {
            reason += " (argument " + std::to_string(5 - argumentError) + ")";
        }
    }
    return reason;
}

class ComPopupObject final : public PopupObject {
  public:
    ComPopupObject(ComPtr<IDispatch> object, std::string progId)
        : object_(std::move(object)), progId_(std::move(progId)) {}
    ~ComPopupObject() override {
        object_.Reset();
        // A component whose popup is still up refuses (DllCanUnloadNow).
        CoFreeUnusedLibraries();
    }
    ComPopupObject(const ComPopupObject&) = delete;
    ComPopupObject& operator=(const ComPopupObject&) = delete;

    ComponentResult DisplayAlert(const std::u16string& clientNumber, std::int16_t arg2,
                                 std::int16_t arg3, const std::u16string& message,
                                 FormObject* window) override {
        wchar_t name[] = L"DisplayAlert";
        LPOLESTR names[] = {name};
        DISPID id = DISPID_UNKNOWN;
        HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr)) return failed(progId_ + " has no DisplayAlert: " + hresultText(hr));

        // Copies: whatever the component writes into them stays with it.
        win::UniqueBstr client(win::BstrFromText(clientNumber));
        win::UniqueBstr text(win::BstrFromText(message));
        // The constructor's reference is the form's; the argument holds one
        // of its own, which the component may replace.
        ComPtr<FormDispatch> form;
        if (window != nullptr) form.Attach(new FormDispatch(*window));
        ComPtr<IDispatch> windowArgument = form;

        VARIANT arguments[5];  // last argument first, owned by the owners above
        for (VARIANT& argument : arguments) VariantInit(&argument);
        arguments[4].vt = VT_BSTR | VT_BYREF;
        arguments[4].pbstrVal = client.addressOf();
        arguments[3].vt = VT_I2;
        arguments[3].iVal = arg2;
        arguments[2].vt = VT_I2;
        arguments[2].iVal = arg3;
        arguments[1].vt = VT_BSTR | VT_BYREF;
        arguments[1].pbstrVal = text.addressOf();
        arguments[0].vt = VT_DISPATCH | VT_BYREF;
        arguments[0].ppdispVal = windowArgument.GetAddressOf();
        DISPPARAMS params = {arguments, nullptr, 5, 0};

        win::ExceptionInfo exception;
        UINT argumentError = 0;
        win::UniqueVariant result;
        hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                             result.put(), exception.put(), &argumentError);

        // The window reference it may have written back is not taken over.
        windowArgument.Reset();
        if (form) form->detach();
        if (FAILED(hr)) return failed(invokeFailure(hr, exception.get(), argumentError));
        return {ComponentResult::Status::Ok, {}};
    }

  private:
    ComPtr<IDispatch> object_;
    std::string progId_;
};

}  // namespace

ComPopupComponents::ComPopupComponents(std::vector<BundledComponent> bundled)
    : bundled_(std::move(bundled)) {}

CreatedObject ComPopupComponents::create(std::string_view progId) {
    if (!apartment_) apartment_.emplace();
    const std::string name(progId);
    const auto bundled = std::find_if(bundled_.begin(), bundled_.end(),
                                      [&](const BundledComponent& c) { return c.progId == name; });
    CLSID clsid = {};
    HRESULT hr = CLSIDFromProgID(win::WideFromUtf8(progId).c_str(), &clsid);
    if (SUCCEEDED(hr)) {
        CreatedObject registered = createInProcess(clsid, name);
        // A registration that cannot be created (a 32-bit one left by an
        // old version, a DLL that was moved) must not end reminders for
        // good while the bundled component is at hand.
        if (registered.result.ok() || bundled == bundled_.end()) return registered;
    } else if (bundled == bundled_.end()) {
        const auto status = meansNotInstalled(hr) ? ComponentResult::Status::NotInstalled
                                                  : ComponentResult::Status::Failed;
        return {nullptr, {status, name + ": CLSIDFromProgID: " + hresultText(hr)}};
    }
    return createInProcess(bundled->clsid, name);
}

// In-process servers only: a registration naming a program to start would
// run it with the user's rights on every reminder.
CreatedObject ComPopupComponents::createInProcess(const CLSID& clsid, const std::string& name) {
    ComPtr<IDispatch> object;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                        reinterpret_cast<void**>(object.GetAddressOf()));
    if (FAILED(hr)) {
        const auto status = meansNotInstalled(hr) ? ComponentResult::Status::NotInstalled
                                                  : ComponentResult::Status::Failed;
        return {nullptr, {status, name + ": CoCreateInstance: " + hresultText(hr)}};
    }
    return {std::make_unique<ComPopupObject>(std::move(object), name),
            {ComponentResult::Status::Ok, {}}};
}

}  // namespace talvane
