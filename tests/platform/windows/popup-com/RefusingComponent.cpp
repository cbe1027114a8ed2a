// "Talvane.Test.Refuses": a popup component whose DisplayAlert always fails
// with its own reason. Before failing it asks the window to shorten a title
// passed by reference and scribbles over the strings it was lent, so that
// the reason shows what reached it and the caller can check that nothing
// came back.

#include <string>

#include "components/displaymsg-win/InprocServer.h"
#include "support/win32/DispatchObject.h"
#include "tests/platform/windows/popup-com/RefusingComponentIdentity.h"

namespace {

HINSTANCE module = nullptr;

std::wstring windowTitle(VARIANT& windowArgument) {
    if (windowArgument.vt != (VT_DISPATCH | VT_BYREF) || *windowArgument.ppdispVal == nullptr) {
        return L"(no window)";
    }
    IDispatch* window = *windowArgument.ppdispVal;
    wchar_t name[] = L"GETTITLE";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(window->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
        return L"(no getTitle)";
    }
    BSTR title =
        SysAllocString(L"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三");
    VARIANT argument;
    argument.vt = VT_BSTR | VT_BYREF;
    argument.pbstrVal = &title;
    DISPPARAMS params = {&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = window->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                      &result, nullptr, nullptr);
    std::wstring text = SUCCEEDED(hr) && result.vt == VT_BSTR && title != nullptr &&
                                wcscmp(result.bstrVal, title) == 0
                            ? std::wstring(title)
                            : L"(getTitle failed)";
    VariantClear(&result);
    SysFreeString(title);
    return text;
}

class RefusingObject final : public talvane::win::DispatchObject {
  public:
    RefusingObject() { ++talvane::inproc::moduleLocks(); }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        static constexpr talvane::win::DispatchMember kMembers[] = {{L"DisplayAlert", 1}};
        return lookUp(kMembers, names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO* exception, UINT*) override {
        if (params->cArgs != 5) return DISP_E_BADPARAMCOUNT;
        const std::wstring title = windowTitle(params->rgvarg[0]);
        for (const UINT index : {1u, 4u}) {
            VARIANT& text = params->rgvarg[index];
            if (text.vt == (VT_BSTR | VT_BYREF)) {
                SysFreeString(*text.pbstrVal);
                *text.pbstrVal = SysAllocString(L"overwritten");
            }
        }
        params->rgvarg[0].ppdispVal[0] = nullptr;  // drops the window argument
        exception->bstrSource = SysAllocString(L"Talvane.Test.Refuses");
        exception->bstrDescription = SysAllocString((L"refused " + title).c_str());
        exception->scode = E_ABORT;
        return DISP_E_EXCEPTION;
    }

  private:
    ~RefusingObject() override { --talvane::inproc::moduleLocks(); }
};

talvane::inproc::ClassFactory<RefusingObject> factory;

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) module = instance;
    return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    *out = nullptr;
    if (!IsEqualCLSID(clsid, talvane::test::kRefusingClsid)) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, out);
}

HRESULT WINAPI DllCanUnloadNow() { return talvane::inproc::moduleLocks() == 0 ? S_OK : S_FALSE; }

}  // extern "C"
