// The system's proxy on Windows: the user's Internet settings, in the form
// WinHTTP reads them (the "DefaultConnectionSettings" record).
#include <windows.h>

#include <string>
#include <vector>

#include "tests/platform/contract/HttpClientContract.h"

namespace talvane::contract {

namespace {

constexpr DWORD kMagic = 0x46;
constexpr DWORD kDirect = 1;
constexpr DWORD kNamedProxy = 2;

void appendDword(std::vector<BYTE>& out, DWORD value) {
    const auto* bytes = reinterpret_cast<const BYTE*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof value);
}

void appendText(std::vector<BYTE>& out, const std::string& text) {
    appendDword(out, static_cast<DWORD>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

// Direct, or through `proxy`; never automatic detection, which would look
// for a configuration script beyond this machine.
void writeSettings(DWORD flags, const std::string& proxy) {
    std::vector<BYTE> record;
    appendDword(record, kMagic);
    appendDword(record, 1);  // a counter Windows raises on each change
    appendDword(record, flags);
    appendText(record, proxy);
    appendText(record, "");  // bypass list
    appendText(record, "");  // configuration script
    record.resize(record.size() + 32, 0);
    HKEY key;
    if (RegCreateKeyExA(
            HKEY_CURRENT_USER,
            "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections", 0,
            nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "DefaultConnectionSettings", 0, REG_BINARY, record.data(),
                       static_cast<DWORD>(record.size()));
        RegCloseKey(key);
    }
}

}  // namespace

ScopedSystemProxy::ScopedSystemProxy(int port) {
    writeSettings(kDirect | kNamedProxy, "127.0.0.1:" + std::to_string(port));
}

ScopedSystemProxy::~ScopedSystemProxy() { ClearForTests(); }

void ScopedSystemProxy::ClearForTests() { writeSettings(kDirect, ""); }

}  // namespace talvane::contract
