// Reads the running program's panel from outside, as a screen reader does,
// and presses its keys on the tray icon as the shell would pass them on.
//   a11y-probe.exe OUT list        one line per element: role<TAB>name<TAB>action
//   a11y-probe.exe OUT do N        the default action of the Nth element (from 1)
//   a11y-probe.exe OUT focus       the element that has the focus: role<TAB>name
//   a11y-probe.exe OUT tray EVENT  the icon's message with EVENT (select, key, menu)
//   a11y-probe.exe OUT contrast on|off  High Contrast's stored flag, announced
// Writes UTF-8 into OUT (Wine's output through a file) and exits 0, or 1
// with the reason in OUT.
#include <windows.h>
// after windows.h
#include <oleacc.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/win32/ComOwners.h"

using Microsoft::WRL::ComPtr;
namespace win = talvane::win;

namespace {

FILE* out = nullptr;

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string bytes(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), n, nullptr,
                        nullptr);
    return bytes;
}

int failWith(const char* reason, HRESULT hr = S_OK) {
    std::fprintf(out, "probe: %s (0x%08lx)\n", reason, static_cast<unsigned long>(hr));
    return 1;
}

std::wstring textOf(const win::UniqueBstr& text) {
    return text.get() != nullptr ? std::wstring(text.get(), SysStringLen(text.get())) : L"";
}

// A VARIANT naming a child (or CHILDID_SELF).
VARIANT child(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

const char* roleName(const VARIANT& role) {
    if (role.vt != VT_I4) return "?";
    switch (role.lVal) {
        case ROLE_SYSTEM_LINK:
            return "link";
        case ROLE_SYSTEM_PUSHBUTTON:
            return "button";
        case ROLE_SYSTEM_STATICTEXT:
            return "text";
        case ROLE_SYSTEM_CLIENT:
            return "client";
        default:
            return "other";
    }
}

std::string describe(IAccessible* panel, LONG id, bool withAction) {
    win::UniqueVariant role;
    win::UniqueBstr name, action;
    panel->get_accRole(child(id), role.put());
    panel->get_accName(child(id), name.put());
    std::string line = std::string(roleName(role.get())) + "\t" + utf8(textOf(name));
    if (withAction) {
        panel->get_accDefaultAction(child(id), action.put());
        line += "\t" + utf8(textOf(action));
    }
    return line;
}

// What there is instead, for the failure message.
BOOL CALLBACK listWindow(HWND window, LPARAM) {
    wchar_t className[128] = L"", title[128] = L"";
    GetClassNameW(window, className, 128);
    GetWindowTextW(window, title, 128);
    std::fprintf(out, "  window %s \"%s\"%s\n", utf8(className).c_str(), utf8(title).c_str(),
                 IsWindowVisible(window) ? " visible" : "");
    return TRUE;
}

int trayEvent(const std::wstring& event) {
    const HWND tray = FindWindowW(L"TalvaneTrayIcon", nullptr);
    if (tray == nullptr) return failWith("no tray window");
    // What the shell sends with NOTIFYICON_VERSION_4: the event in the low
    // word of lParam, the icon's id in the high word, the anchor in wParam.
    const UINT message = event == L"select" ? NIN_SELECT
                         : event == L"key"  ? NIN_KEYSELECT
                                            : WM_CONTEXTMENU;
    PostMessageW(tray, WM_APP + 1, MAKEWPARAM(900, 700), MAKELPARAM(message, 1));
    std::fprintf(out, "posted\n");
    return 0;
}

// Switches the flag Windows keeps for High Contrast and tells every window,
// as Windows does when the user switches it.
int contrast(bool on) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return failWith("cannot open the High Contrast key");
    }
    const wchar_t* flags = on ? L"1" : L"0";
    RegSetValueExW(key, L"Flags", 0, REG_SZ, reinterpret_cast<const BYTE*>(flags), 4);
    RegCloseKey(key);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST,
                        reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 5000, &ignored);
    std::fprintf(out, "switched\n");
    return 0;
}

int run(const std::vector<std::wstring>& args) {
    if (args.size() >= 2 && args[0] == L"tray") return trayEvent(args[1]);
    if (args.size() >= 2 && args[0] == L"contrast") return contrast(args[1] == L"on");
    const HWND window = FindWindowW(L"TalvanePanel", nullptr);
    if (window == nullptr) {
        failWith("no panel window");
        EnumWindows(listWindow, 0);
        return 1;
    }
    ComPtr<IAccessible> panel;
    HRESULT hr = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                            __uuidof(IAccessible), &panel);
    if (FAILED(hr) || !panel) return failWith("no accessible object", hr);
    if (args[0] == L"focus") {
        win::UniqueVariant focus;
        hr = panel->get_accFocus(focus.put());
        if (hr != S_OK || focus.get().vt != VT_I4) return failWith("nothing focused", hr);
        std::fprintf(out, "%s\n", describe(panel.Get(), focus.get().lVal, false).c_str());
        return 0;
    }
    LONG count = 0;
    panel->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    LONG got = 0;
    hr = AccessibleChildren(panel.Get(), 0, count, children.data(), &got);
    if (FAILED(hr)) return failWith("AccessibleChildren failed", hr);
    if (args[0] == L"list") {
        std::fprintf(out, "%s\n", describe(panel.Get(), CHILDID_SELF, false).c_str());
        for (LONG i = 0; i < got; ++i) {
            if (children[std::size_t(i)].vt != VT_I4) return failWith("a child is an object");
            std::fprintf(out, "%s\n",
                         describe(panel.Get(), children[std::size_t(i)].lVal, true).c_str());
        }
        return 0;
    }
    if (args[0] == L"do" && args.size() >= 2) {
        hr = panel->accDoDefaultAction(child(std::stol(args[1])));
        if (FAILED(hr)) return failWith("accDoDefaultAction failed", hr);
        std::fprintf(out, "done\n");
        return 0;
    }
    return failWith("unknown command");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    out = _wfopen(argv[1], L"wb");
    if (out == nullptr) return 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int status = run(std::vector<std::wstring>(argv + 2, argv + argc));
    CoUninitialize();
    std::fclose(out);
    return status;
}
