#include "components/displaymsg-win/DisplayMsgObject.h"

#include <exception>
#include <optional>
#include <string>

#include "components/displaymsg-win/CardWindow.h"
#include "components/displaymsg-win/InprocServer.h"
#include "components/displaymsg/AlertText.h"
#include "support/win32/BstrText.h"

namespace talvane::displaymsg {

namespace {

constexpr wchar_t kSource[] = L"Flarebox.DisplayMsg";

struct Failure {
    HRESULT code;
    std::wstring reason;
    UINT argument = UINT(-1);
};

// The argument as a value of type, a copy even when it was passed by reference.
std::optional<VARIANT> converted(const VARIANT& argument, VARTYPE type) {
    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantCopyInd(&value, const_cast<VARIANT*>(&argument)))) return std::nullopt;
    if (FAILED(VariantChangeType(&value, &value, 0, type))) {
        VariantClear(&value);
        return std::nullopt;
    }
    return value;
}

std::u16string stringArgument(const DISPPARAMS& params, UINT position) {
    const UINT index = params.cArgs - 1 - position;
    std::optional<VARIANT> value = converted(params.rgvarg[index], VT_BSTR);
    if (!value) throw Failure{DISP_E_TYPEMISMATCH, L"argument is no string", index};
    std::u16string text = win::TextFromBstr(value->bstrVal);
    VariantClear(&*value);
    return text;
}

std::int16_t numberArgument(const DISPPARAMS& params, UINT position) {
    const UINT index = params.cArgs - 1 - position;
    const std::optional<VARIANT> value = converted(params.rgvarg[index], VT_I2);
    if (!value) throw Failure{DISP_E_TYPEMISMATCH, L"argument is no 16-bit number", index};
    return value->iVal;
}

// The window's serviceBaseUrl, or nothing when there is no window or it
// cannot say; the card then has no event link.
std::u16string serviceBaseUrlOf(const VARIANT& argument) {
    IDispatch* window = nullptr;
    if (argument.vt == VT_DISPATCH) window = argument.pdispVal;
    if (argument.vt == (VT_DISPATCH | VT_BYREF) && argument.ppdispVal != nullptr) {
        window = *argument.ppdispVal;
    }
    if (window == nullptr) return {};
    wchar_t name[] = L"serviceBaseUrl";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(window->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return {};
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    std::u16string base;
    if (SUCCEEDED(window->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                                 DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                 nullptr)) &&
        result.vt == VT_BSTR) {
        base = win::TextFromBstr(result.bstrVal);
    }
    VariantClear(&result);
    return base;
}

void displayAlert(const DISPPARAMS& params) {
    const std::u16string clientNumber = stringArgument(params, 0);
    const std::int16_t arg2 = numberArgument(params, 1);
    const std::int16_t arg3 = numberArgument(params, 2);
    const std::u16string message = stringArgument(params, 3);
    const std::u16string base = serviceBaseUrlOf(params.rgvarg[0]);

    std::wstring reason;
    if (!showCard(parseAlertText(message, clientNumber, base), popupTimingFrom(arg2, arg3), message,
                  reason)) {
        throw Failure{E_FAIL, reason};
    }
}

HRESULT report(const Failure& failure, EXCEPINFO* exception, UINT* argumentError) {
    if (failure.argument != UINT(-1) && argumentError != nullptr) {
        *argumentError = failure.argument;
    }
    if (failure.code == DISP_E_TYPEMISMATCH) return failure.code;
    if (exception != nullptr) {
        *exception = {};
        exception->bstrSource = SysAllocString(kSource);
        exception->bstrDescription = SysAllocString(failure.reason.c_str());
        exception->scode = failure.code;
    }
    return DISP_E_EXCEPTION;
}

}  // namespace

DisplayMsgObject::DisplayMsgObject() { ++inproc::moduleLocks(); }

DisplayMsgObject::~DisplayMsgObject() { --inproc::moduleLocks(); }

HRESULT DisplayMsgObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    static constexpr win::DispatchMember kMembers[] = {{L"DisplayAlert", kDisplayAlert}};
    return lookUp(kMembers, names, count, ids);
}

HRESULT DisplayMsgObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if (id != kDisplayAlert) return DISP_E_MEMBERNOTFOUND;
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    if (params == nullptr) return E_POINTER;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (params->cArgs != 5) return DISP_E_BADPARAMCOUNT;
    if (result != nullptr) VariantInit(result);
    try {
        displayAlert(*params);
        return S_OK;
    } catch (const Failure& failure) {
        return report(failure, exception, argumentError);
    } catch (const std::bad_alloc&) {
        return report({E_OUTOFMEMORY, L"out of memory"}, exception, argumentError);
    } catch (...) {
        return report({E_UNEXPECTED, L"unexpected failure"}, exception, argumentError);
    }
}

}  // namespace talvane::displaymsg
