#include "components/displaymsg-win/InprocServer.h"

#include <olectl.h>

#include <string>

namespace talvane::inproc {

namespace {

constexpr wchar_t kClassesRoot[] = L"Software\\Classes\\";

std::wstring guidText(REFCLSID clsid) {
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return text;
}

LSTATUS setString(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return status;
}

// The class a programmatic identifier names in the merged per-user and
// per-machine view, or an empty string.
std::wstring registeredClass(const wchar_t* progId) {
    wchar_t value[64] = {};
    DWORD size = sizeof(value);
    const std::wstring key = std::wstring(progId) + L"\\CLSID";
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

}  // namespace

std::atomic<long>& moduleLocks() {
    static std::atomic<long> locks{0};
    return locks;
}

HRESULT registerServer(HMODULE module, REFCLSID clsid, const wchar_t* progId,
                       const wchar_t* description) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return SELFREG_E_CLASS;

    const std::wstring clsidText = guidText(clsid);
    const std::wstring classKey = kClassesRoot + std::wstring(L"CLSID\\") + clsidText;
    const std::wstring serverKey = classKey + L"\\InprocServer32";
    const std::wstring existing = registeredClass(progId);
    // A component the user installed under the same identifier keeps it.
    const bool ownsProgId = existing.empty() || _wcsicmp(existing.c_str(), clsidText.c_str()) == 0;
    const std::wstring progIdKey = kClassesRoot + std::wstring(progId);

    LSTATUS status = setString(classKey, nullptr, description);
    if (status == ERROR_SUCCESS) status = setString(classKey + L"\\ProgID", nullptr, progId);
    if (status == ERROR_SUCCESS) status = setString(serverKey, nullptr, path);
    if (status == ERROR_SUCCESS) status = setString(serverKey, L"ThreadingModel", L"Apartment");
    if (status == ERROR_SUCCESS && ownsProgId) {
        status = setString(progIdKey, nullptr, description);
        if (status == ERROR_SUCCESS) status = setString(progIdKey + L"\\CLSID", nullptr, clsidText);
    }
    if (status != ERROR_SUCCESS) {
        unregisterServer(clsid, progId);
        return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT unregisterServer(REFCLSID clsid, const wchar_t* progId) {
    const std::wstring clsidText = guidText(clsid);
    const std::wstring classKey = kClassesRoot + std::wstring(L"CLSID\\") + clsidText;
    LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, classKey.c_str());
    bool failed = status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND;

    const std::wstring progIdKey = kClassesRoot + std::wstring(progId);
    wchar_t value[64] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, (progIdKey + L"\\CLSID").c_str(), nullptr, RRF_RT_REG_SZ,
                     nullptr, value, &size) == ERROR_SUCCESS &&
        _wcsicmp(value, clsidText.c_str()) == 0) {
        status = RegDeleteTreeW(HKEY_CURRENT_USER, progIdKey.c_str());
        failed = failed || (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND);
    }
    return failed ? SELFREG_E_CLASS : S_OK;
}

}  // namespace talvane::inproc
