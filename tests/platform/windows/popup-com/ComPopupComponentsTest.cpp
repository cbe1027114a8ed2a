// Popup components through COM under Wine: the bundled "Flarebox.DisplayMsg"
// and a refusing test component, both found through this executable's
// manifest (registration-free), as talvane.exe finds its component.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "components/displaymsg-win/CardWindow.h"
#include "components/displaymsg-win/DisplayMsgIdentity.h"
#include "platform/windows/ComPopupComponents.h"
#include "tests/platform/windows/popup-com/RefusingComponentIdentity.h"

namespace talvane {
namespace {

const std::u16string kMessage =
    u"研讨会即将开始||||||2026-12-09 14:30||||||企业级云原生架构实践：从容器..."
    u"||||||20261209001||||||请提前十分钟进入会议室，会议资料已发送到您的邮箱。";

class FakeForm : public FormObject {
  public:
    void DoTransparency() override {}
    std::u16string getTitle(std::u16string& title) override {
        ++titleCalls;
        if (title.size() > 32) title = title.substr(0, 29) + u"...";
        return title;
    }
    bool knowIfVisitPage() override { return true; }
    std::u16string serviceBaseUrl() const override {
        ++baseCalls;
        return u"http://127.0.0.1:8765";
    }
    int titleCalls = 0;
    mutable int baseCalls = 0;
};

void pumpMessages(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(10);
    } while (GetTickCount64() < end);
}

HRESULT canUnloadComponent() {
    HMODULE module = GetModuleHandleW(L"Flarebox.DisplayMsg.dll");
    if (module == nullptr) return S_OK;  // already unloaded
    auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    return canUnload != nullptr ? canUnload() : E_FAIL;
}

std::optional<std::wstring> registryText(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

bool setRegistryText(HKEY root, const std::wstring& key, const wchar_t* name,
                     const std::wstring& value) {
    return RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                           DWORD((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring besideExecutable(const wchar_t* file) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + file;
}

HRESULT callServerEntry(const char* entry) {
    HMODULE module = LoadLibraryW(besideExecutable(L"Flarebox.DisplayMsg.dll").c_str());
    if (module == nullptr) return E_FAIL;
    auto function = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, entry)));
    const HRESULT hr = function != nullptr ? function() : E_FAIL;
    FreeLibrary(module);
    return hr;
}

class ComPopupComponentsTest : public ::testing::Test {
  protected:
    ComApartment apartment;
    ComPopupComponents components{{{"Flarebox.DisplayMsg", displaymsg::kDisplayMsgClsid},
                                   {"Talvane.Test.Refuses", test::kRefusingClsid}}};
};

TEST_F(ComPopupComponentsTest, BundledComponentShowsAQuietCardAboveTheTaskbar) {
    ASSERT_TRUE(apartment.ok());
    FakeForm form;
    {
        CreatedObject created = components.create("Flarebox.DisplayMsg");
        ASSERT_TRUE(created.result.ok()) << created.result.reason;
        const ComponentResult shown =
            created.object->DisplayAlert(u"unknown value", 103, 50, kMessage, &form);
        ASSERT_TRUE(shown.ok()) << shown.reason;
    }
    EXPECT_EQ(form.baseCalls, 1);

    HWND card = FindWindowW(displaymsg::kCardClassName, nullptr);
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(IsWindowVisible(card));
    EXPECT_NE(GetForegroundWindow(), card);
    const LONG_PTR quiet = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    EXPECT_EQ(GetWindowLongPtrW(card, GWL_EXSTYLE) & quiet, quiet);
    RECT work = {}, place = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(card, &place);
    // 50 and the right margin of 12 are pixels at 96 dpi; the card scales.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(place.bottom, work.bottom - MulDiv(50, dpi, 96));
    EXPECT_EQ(place.right, work.right - MulDiv(12, dpi, 96));
    // The card runs the component's code: it must stay loaded meanwhile.
    EXPECT_EQ(canUnloadComponent(), S_FALSE);

    // TALVANE_HOLD_CARD_MS keeps the card up for a screenshot.
    const char* hold = std::getenv("TALVANE_HOLD_CARD_MS");
    pumpMessages(hold != nullptr ? DWORD(std::atoi(hold)) : 300);

    // A release whose press began elsewhere does nothing; the close corner
    // only closes (the Qt card's rule: (283, 18) of a 320-px card).
    RECT client = {};
    GetClientRect(card, &client);
    const LPARAM nearTheCross = MAKELPARAM(client.right - MulDiv(37, dpi, 96), MulDiv(18, dpi, 96));
    SendMessageW(card, WM_LBUTTONUP, 0, nearTheCross);
    EXPECT_TRUE(IsWindow(card));
    SendMessageW(card, WM_LBUTTONDOWN, MK_LBUTTON, nearTheCross);
    SendMessageW(card, WM_LBUTTONUP, 0, nearTheCross);
    EXPECT_FALSE(IsWindow(card));
    EXPECT_EQ(canUnloadComponent(), S_OK);
}

TEST_F(ComPopupComponentsTest, SameMessageKeepsOneCard_OthersStack_AndCardsCloseThemselves) {
    FakeForm form;
    // 1 tenth of a second is raised to the shortest lifetime, 1 s.
    for (const std::u16string& message :
         {kMessage, kMessage, std::u16string(u"另一条||||||||||||||||||||||||")}) {
        CreatedObject created = components.create("Flarebox.DisplayMsg");
        ASSERT_TRUE(created.result.ok()) << created.result.reason;
        ASSERT_TRUE(created.object->DisplayAlert(u"1", 1, 50, message, &form).ok());
    }
    HWND first = FindWindowW(displaymsg::kCardClassName, nullptr);
    ASSERT_NE(first, nullptr);
    HWND second = FindWindowExW(nullptr, first, displaymsg::kCardClassName, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(FindWindowExW(nullptr, second, displaymsg::kCardClassName, nullptr), nullptr);
    RECT a = {}, b = {};
    GetWindowRect(first, &a);
    GetWindowRect(second, &b);
    EXPECT_EQ(a.right, b.right);
    EXPECT_TRUE(a.bottom <= b.top || b.bottom <= a.top) << "cards overlap";

    pumpMessages(1600);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(ComPopupComponentsTest, ALongTitleNamesTheCardByItsFirst256Units) {
    FakeForm form;
    const std::u16string title(100000, u'长');
    {
        CreatedObject created = components.create("Flarebox.DisplayMsg");
        ASSERT_TRUE(created.result.ok()) << created.result.reason;
        ASSERT_TRUE(
            created.object
                ->DisplayAlert(u"1", 10, 50, u"提醒||||||||||||" + title + u"||||||||||||", &form)
                .ok());
    }
    HWND card = FindWindowW(displaymsg::kCardClassName, nullptr);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(GetWindowTextLengthW(card), 256);
    DestroyWindow(card);
    EXPECT_FALSE(IsWindow(card));
}

TEST_F(ComPopupComponentsTest, ComponentsOwnReasonComesBack_AndItsWritesStayWithIt) {
    FakeForm form;
    CreatedObject created = components.create("Talvane.Test.Refuses");
    ASSERT_TRUE(created.result.ok()) << created.result.reason;
    const std::u16string clientNumber = u"8650123";
    const ComponentResult result =
        created.object->DisplayAlert(clientNumber, 103, 50, kMessage, &form);
    EXPECT_EQ(result.status, ComponentResult::Status::Failed);
    // The window shortened the component's title, through IDispatch.
    EXPECT_NE(result.reason.find("Talvane.Test.Refuses: refused "
                                 "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九..."),
              std::string::npos)
        << result.reason;
    EXPECT_NE(result.reason.find("0x80004004"), std::string::npos) << result.reason;
    EXPECT_EQ(form.titleCalls, 1);
}

TEST_F(ComPopupComponentsTest, UnregisteredIdentifierIsNotInstalled_WithTheReason) {
    const CreatedObject created = components.create("Talvane.Test.Nowhere");
    EXPECT_EQ(created.result.status, ComponentResult::Status::NotInstalled);
    EXPECT_EQ(created.object, nullptr);
    EXPECT_NE(created.result.reason.find("Talvane.Test.Nowhere: CLSIDFromProgID: 0x800401F3"),
              std::string::npos)
        << created.result.reason;
}

// A registration that cannot be created in-process (its DLL moved away, or
// only a program to start) leaves the bundled component to show the card.
TEST_F(ComPopupComponentsTest, BrokenRegistrationFallsBackToTheBundledComponent) {
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring progIdKey = classes + L"Flarebox.DisplayMsg";
    const std::wstring brokenClass = L"{6D0D3A52-5E0B-4C36-9B5E-2F4A7C1D8E90}";
    const std::wstring brokenKey = classes + L"CLSID\\" + brokenClass;
    const struct {
        const wchar_t* server;
        const wchar_t* path;
    } registrations[] = {
        {L"\\InprocServer32", L"C:\\Program Files\\Flarebox\\Moved\\Flarebox.DisplayMsg.dll"},
        {L"\\LocalServer32", L"C:\\Program Files\\Flarebox\\Moved\\DisplayMsg.exe"},
    };
    FakeForm form;
    for (const auto& registration : registrations) {
        // Per machine: Wine's COM reads registrations only there.
        if (!setRegistryText(HKEY_LOCAL_MACHINE, progIdKey + L"\\CLSID", nullptr, brokenClass) ||
            !setRegistryText(HKEY_LOCAL_MACHINE, brokenKey + registration.server, nullptr,
                             registration.path)) {
            GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
        }
        {
            CreatedObject created = components.create("Flarebox.DisplayMsg");
            EXPECT_TRUE(created.result.ok()) << created.result.reason;
            if (created.object != nullptr) {
                const ComponentResult shown =
                    created.object->DisplayAlert(u"1", 1, 50, kMessage, &form);
                EXPECT_TRUE(shown.ok()) << shown.reason;
            }
        }
        HWND card = FindWindowW(displaymsg::kCardClassName, nullptr);
        EXPECT_NE(card, nullptr);
        if (card != nullptr) DestroyWindow(card);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, progIdKey.c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, brokenKey.c_str());
    }
    // Without a bundled component of that identifier the failure stands.
    ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, classes + L"Talvane.Test.Moved\\CLSID", nullptr,
                                brokenClass));
    ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, brokenKey + L"\\InprocServer32", nullptr,
                                registrations[0].path));
    const CreatedObject created = components.create("Talvane.Test.Moved");
    EXPECT_FALSE(created.result.ok());
    EXPECT_NE(created.result.reason.find("Talvane.Test.Moved: CoCreateInstance"), std::string::npos)
        << created.result.reason;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (classes + L"Talvane.Test.Moved").c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, brokenKey.c_str());
}

// A component the user registered under the identifier is the one called;
// registering the bundled one per user leaves that registration alone.
TEST_F(ComPopupComponentsTest, RegisteredComponentWinsOverTheBundledOne) {
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring progIdKey = classes + L"Flarebox.DisplayMsg";
    const std::wstring otherClass = L"{B3B8D74D-E900-4BE4-8CEC-DFBC32E88CAF}";
    const std::wstring otherKey = classes + L"CLSID\\" + otherClass;
    // Per machine: Wine's COM reads registrations only there.
    if (!setRegistryText(HKEY_LOCAL_MACHINE, progIdKey + L"\\CLSID", nullptr, otherClass) ||
        !setRegistryText(HKEY_LOCAL_MACHINE, otherKey + L"\\InprocServer32", nullptr,
                         besideExecutable(L"Talvane.Test.Refuses.dll"))) {
        GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
    }
    FakeForm form;
    {
        CreatedObject created = components.create("Flarebox.DisplayMsg");
        ASSERT_TRUE(created.result.ok()) << created.result.reason;
        const ComponentResult result = created.object->DisplayAlert(u"1", 103, 50, kMessage, &form);
        EXPECT_NE(result.reason.find("Talvane.Test.Refuses"), std::string::npos) << result.reason;
    }

    const std::wstring ownKey = classes + L"CLSID\\{F140A6CA-89C3-45D7-86EF-3457C2A0A082}";
    EXPECT_EQ(callServerEntry("DllRegisterServer"), S_OK);
    EXPECT_EQ(registryText(HKEY_CURRENT_USER, ownKey + L"\\InprocServer32", nullptr),
              besideExecutable(L"Flarebox.DisplayMsg.dll"));
    EXPECT_EQ(registryText(HKEY_CURRENT_USER, ownKey + L"\\InprocServer32", L"ThreadingModel"),
              L"Apartment");
    EXPECT_EQ(registryText(HKEY_CURRENT_USER, progIdKey + L"\\CLSID", nullptr), std::nullopt);
    EXPECT_EQ(callServerEntry("DllUnregisterServer"), S_OK);
    EXPECT_EQ(registryText(HKEY_CURRENT_USER, ownKey + L"\\InprocServer32", nullptr), std::nullopt);
    EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, progIdKey + L"\\CLSID", nullptr), otherClass);

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, progIdKey.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, otherKey.c_str());
    // With nobody else's registration the identifier is registered too.
    EXPECT_EQ(callServerEntry("DllRegisterServer"), S_OK);
    EXPECT_EQ(registryText(HKEY_CURRENT_USER, progIdKey + L"\\CLSID", nullptr),
              L"{F140A6CA-89C3-45D7-86EF-3457C2A0A082}");
    EXPECT_EQ(callServerEntry("DllUnregisterServer"), S_OK);
    EXPECT_EQ(registryText(HKEY_CURRENT_USER, progIdKey + L"\\CLSID", nullptr), std::nullopt);
}

}  // namespace
}  // namespace talvane
