#include "components/displaymsg-win/CardAnnounce.h"

#include <oleacc.h>
#include <uiautomationcore.h>

#include "support/win32/BstrText.h"

namespace talvane::displaymsg {

namespace {

// From Windows 10 1709's UIAutomationCore.h; the toolchain's headers do
// not have them yet.
constexpr int kNotificationKindOther = 4;
constexpr int kNotificationProcessingImportantAll = 0;
using RaiseNotification = HRESULT(WINAPI*)(IRawElementProviderSimple*, int, int, BSTR, BSTR);
using HostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);

// What the card shows, in reading order, as one announcement.
std::u16string spoken(const AlertText& text) {
    std::u16string out;
    for (const std::u16string* part : {&text.heading, &text.title, &text.time, &text.note}) {
        if (part->empty()) continue;
        if (!out.empty()) out += u"，";
        out += *part;
    }
    return out;
}

// Looked up when first needed: older Windows and Wine 8 do not export the
// notification, and the program must start there all the same.
void raiseNotification(HWND window, const std::u16string& announcement) {
    static const HMODULE automation =
        LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (automation == nullptr) return;
    const auto raise = reinterpret_cast<RaiseNotification>(
        reinterpret_cast<void*>(GetProcAddress(automation, "UiaRaiseNotificationEvent")));
    const auto host = reinterpret_cast<HostProvider>(
        reinterpret_cast<void*>(GetProcAddress(automation, "UiaHostProviderFromHwnd")));
    if (raise == nullptr || host == nullptr) return;
    IRawElementProviderSimple* provider = nullptr;
    if (FAILED(host(window, &provider)) || provider == nullptr) return;
    const BSTR display = win::BstrFromText(announcement);
    const BSTR activity = SysAllocString(L"TalvaneReminder");
    raise(provider, kNotificationKindOther, kNotificationProcessingImportantAll, display, activity);
    SysFreeString(activity);
    SysFreeString(display);
    provider->Release();
}

}  // namespace

void announceCard(HWND window, const AlertText& text) {
    NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_CLIENT, CHILDID_SELF);
    raiseNotification(window, spoken(text));
}

}  // namespace talvane::displaymsg
