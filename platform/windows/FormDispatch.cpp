#include "platform/windows/FormDispatch.h"

#include <new>
#include <string>

#include "support/win32/BstrText.h"
#include "support/win32/ComOwners.h"

namespace talvane {

namespace {

constexpr win::DispatchMember kMembers[] = {
    {L"DoTransparency", FormDispatch::kDoTransparency},
    {L"getTitle", FormDispatch::kGetTitle},
    {L"knowIfVisitPage", FormDispatch::kKnowIfVisitPage},
    {L"serviceBaseUrl", FormDispatch::kServiceBaseUrl},
};

HRESULT returnString(VARIANT* result, const std::u16string& text) {
    if (result == nullptr) return S_OK;
    result->vt = VT_BSTR;
    result->bstrVal = win::BstrFromText(text);
    return result->bstrVal != nullptr || text.empty() ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

FormDispatch::FormDispatch(FormObject& window) : window_(&window) {}

void FormDispatch::detach() { window_ = nullptr; }

HRESULT FormDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return lookUp(kMembers, names, count, ids);
}

HRESULT FormDispatch::getTitle(DISPPARAMS& params, VARIANT* result) {
    if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT& argument = params.rgvarg[0];
    if (argument.vt == (VT_BSTR | VT_BYREF) && argument.pbstrVal != nullptr) {
        std::u16string title = win::TextFromBstr(*argument.pbstrVal);
        const std::u16string shortened = window_->getTitle(title);
        BSTR written = win::BstrFromText(title);
        if (written == nullptr && !title.empty()) return E_OUTOFMEMORY;
        SysFreeString(*argument.pbstrVal);
        *argument.pbstrVal = written;
        return returnString(result, shortened);
    }
    win::UniqueVariant value;
    if (FAILED(VariantChangeType(value.put(), &argument, 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
    std::u16string title = win::TextFromBstr(value.get().bstrVal);
    return returnString(result, window_->getTitle(title));
}

HRESULT FormDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO*, UINT* argumentError) {
    if (params == nullptr) return E_POINTER;
    if (result != nullptr) VariantInit(result);
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) return DISP_E_MEMBERNOTFOUND;
    if (window_ == nullptr) return RPC_E_DISCONNECTED;
    if (argumentError != nullptr) *argumentError = 0;
    // Nothing the window throws may cross into the component.
    try {
        return call(id, *params, result);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT FormDispatch::call(DISPID id, DISPPARAMS& params, VARIANT* result) {
    switch (id) {
        case kDoTransparency:
            if (params.cArgs != 0) return DISP_E_BADPARAMCOUNT;
            window_->DoTransparency();
            return S_OK;
        case kGetTitle:
            return getTitle(params, result);
        case kKnowIfVisitPage:
            if (params.cArgs != 0) return DISP_E_BADPARAMCOUNT;
            if (result != nullptr) {
                result->vt = VT_BOOL;
                result->boolVal = window_->knowIfVisitPage() ? VARIANT_TRUE : VARIANT_FALSE;
            }
            return S_OK;
        case kServiceBaseUrl:
            if (params.cArgs != 0) return DISP_E_BADPARAMCOUNT;
            return returnString(result, window_->serviceBaseUrl());
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace talvane
