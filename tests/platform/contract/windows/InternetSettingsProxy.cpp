// The system's proxy on Windows: the user's Internet settings, in the form
// WinHTTP reads them (the "DefaultConnectionSettings" record).
#include <windows.h>

#include <string>
#include <vector>

#include "tests/platform/contract/HttpClientContract.h"
#include "tests/platform/contract/windows/InternetSettings.h"

namespace talvane::contract {

namespace {

constexpr DWORD kMagic = 0x46;
constexpr char kSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

void appendDword(std::vector<BYTE>& out, DWORD value) {
    const auto* bytes = reinterpret_cast<const BYTE*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof value);
}

void appendText(std::vector<BYTE>& out, const std::string& text) {
    appendDword(out, static_cast<DWORD>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

void setText(HKEY key, const char* name, const std::string& value) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

}  // namespace

void WriteInternetSettings(DWORD flags, const std::string& proxy, const std::string& bypass,
                           const std::string& script) {
    static DWORD counter = 1;  // Windows raises it on each change
    std::vector<BYTE> record;
    appendDword(record, kMagic);
    appendDword(record, counter++);
    appendDword(record, flags);
    appendText(record, proxy);
    appendText(record, bypass);
    appendText(record, script);
    record.resize(record.size() + 32, 0);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
        const DWORD enabled = (flags & kNamedProxy) != 0 ? 1 : 0;
        RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enabled),
                       sizeof enabled);
        setText(key, "ProxyServer", proxy);
        setText(key, "ProxyOverride", bypass);
        if (!script.empty()) {
            setText(key, "AutoConfigURL", script);
        } else {
            RegDeleteValueA(key, "AutoConfigURL");
        }
        RegCloseKey(key);
    }
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\Connections").c_str(), 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "DefaultConnectionSettings", 0, REG_BINARY, record.data(),
                       static_cast<DWORD>(record.size()));
        RegCloseKey(key);
    }
}

ScopedSystemProxy::ScopedSystemProxy(int port) {
    WriteInternetSettings(kDirect | kNamedProxy, "127.0.0.1:" + std::to_string(port));
}

ScopedSystemProxy::~ScopedSystemProxy() { ClearForTests(); }

// Never automatic detection, which would look for a configuration script
// beyond this machine.
void ScopedSystemProxy::ClearForTests() { WriteInternetSettings(kDirect, ""); }

}  // namespace talvane::contract
