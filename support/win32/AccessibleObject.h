#pragma once

#include <windows.h>
// after windows.h
#include <oleacc.h>

#include <optional>
#include <string>

#include "support/win32/BstrText.h"
#include "support/win32/DispatchObject.h"
#include "support/win32/OleaccApi.h"

namespace talvane::win {

// The parts of an MSAA object that every window of the program answers the
// same way: reference counting and IDispatch without a type library
// (DispatchBase), and "nothing" for value, description, help,
// shortcut, selection and writing. A window's object adds its children,
// names, roles, states, places and default actions. Created with one
// reference that its creator owns.
class AccessibleObject : public DispatchBase<IAccessible> {
  public:
    // Clients call through the vtable; nothing is named.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override { return none(value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
        return none(text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return none(help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (topic != nullptr) *topic = 0;
        return none(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override {
        return none(keys);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection == nullptr) return E_POINTER;
        VariantInit(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // WM_GETOBJECT's answer with this object; 0 (the system's default
    // object) when oleacc cannot be had.
    LRESULT answer(WPARAM wParam) {
        if (Oleacc().LresultFromObject == nullptr) return 0;
        return Oleacc().LresultFromObject(__uuidof(IAccessible), wParam,
                                          static_cast<IAccessible*>(this));
    }

  protected:
    AccessibleObject() = default;

    // The window's own standard object, as every window's client area has.
    static HRESULT windowParent(HWND window, IDispatch** parent) {
        if (parent == nullptr) return E_POINTER;
        *parent = nullptr;
        if (window == nullptr) return RPC_E_DISCONNECTED;
        if (Oleacc().AccessibleObjectFromWindow == nullptr) return E_NOTIMPL;
        return Oleacc().AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW),
                                                   IID_IDispatch, reinterpret_cast<void**>(parent));
    }

    static HRESULT text(BSTR* out, const std::u16string& value) {
        if (out == nullptr) return E_POINTER;
        *out = BstrFromText(value);
        return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT none(BSTR* out) {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        return S_FALSE;
    }
    static VARIANT number(LONG value) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = value;
        return v;
    }
    static bool isSelf(const VARIANT& child) {
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    }
    // The simple element a VARIANT names, 1..count; 0 when it names none.
    static LONG childIn(const VARIANT& child, LONG count) {
        return child.vt == VT_I4 && child.lVal >= 1 && child.lVal <= count ? child.lVal : 0;
    }
    // A screen point in window's client area, in client pixels; nullopt
    // when it lies outside.
    static std::optional<POINT> clientPoint(HWND window, LONG x, LONG y) {
        POINT p{x, y};
        ScreenToClient(window, &p);
        RECT client{};
        GetClientRect(window, &client);
        if (!PtInRect(&client, p)) return std::nullopt;
        return p;
    }

    // The screen rectangle of a client-area rectangle of window.
    static HRESULT location(HWND window, RECT box, LONG* left, LONG* top, LONG* width,
                            LONG* height) {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
            return E_POINTER;
        }
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&box), 2);
        *left = box.left;
        *top = box.top;
        *width = box.right - box.left;
        *height = box.bottom - box.top;
        return S_OK;
    }
};

}  // namespace talvane::win
