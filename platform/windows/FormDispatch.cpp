#include "platform/windows/FormDispatch.h"

#include <new>
#include <string>

namespace talvane {

namespace {

struct Member {
    const wchar_t* name;
    DISPID id;
};

constexpr Member kMembers[] = {
    {L"DoTransparency", FormDispatch::kDoTransparency},
    {L"getTitle", FormDispatch::kGetTitle},
    {L"knowIfVisitPage", FormDispatch::kKnowIfVisitPage},
    {L"serviceBaseUrl", FormDispatch::kServiceBaseUrl},
};

BSTR toBstr(const std::u16string& text) {
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), UINT(text.size()));
}

std::u16string fromBstr(BSTR text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

HRESULT returnString(VARIANT* result, const std::u16string& text) {
    if (result == nullptr) return S_OK;
    result->vt = VT_BSTR;
    result->bstrVal = toBstr(text);
    return result->bstrVal != nullptr || text.empty() ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

FormDispatch::FormDispatch(FormObject& window) : window_(&window) {}

void FormDispatch::detach() { window_ = nullptr; }

HRESULT FormDispatch::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FormDispatch::AddRef() { return ++references_; }

ULONG FormDispatch::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT FormDispatch::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT FormDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT FormDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    if (count == 0) return S_OK;
    for (const Member& member : kMembers) {
        if (names[0] != nullptr && _wcsicmp(names[0], member.name) == 0) ids[0] = member.id;
    }
    return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT FormDispatch::getTitle(DISPPARAMS& params, VARIANT* result) {
    if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT& argument = params.rgvarg[0];
    if (argument.vt == (VT_BSTR | VT_BYREF) && argument.pbstrVal != nullptr) {
        std::u16string title = fromBstr(*argument.pbstrVal);
        const std::u16string shortened = window_->getTitle(title);
        BSTR written = toBstr(title);
        if (written == nullptr && !title.empty()) return E_OUTOFMEMORY;
        SysFreeString(*argument.pbstrVal);
        *argument.pbstrVal = written;
        return returnString(result, shortened);
    }
    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantChangeType(&value, &argument, 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
    std::u16string title = fromBstr(value.bstrVal);
    VariantClear(&value);
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
