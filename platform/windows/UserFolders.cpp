#include "platform/windows/UserFolders.h"

#include <windows.h>
// windows.h first: shlobj.h builds on its types.
#include <shlobj.h>

#include "platform/windows/WideText.h"

namespace talvane {

bool IsWritableFolder(const std::string& folder) {
    if (folder.empty()) return false;
    const std::wstring probe = win::WideFromUtf8(folder) + L"\\.talvane-write-probe-" +
                               std::to_wstring(::GetCurrentProcessId());
    const HANDLE file = ::CreateFileW(
        probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

std::string UserSettingsFolder() {
    // Not SHGetKnownFolderPath: its answer is freed by COM's allocator, and
    // under Wine that call alone loads ole32, combase and rpcrt4 into the
    // process for good, a megabyte the tray program otherwise never needs.
    wchar_t path[MAX_PATH];
    if (FAILED(
            ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return win::Utf8FromWide(path) + "\\Talvane";
}

}  // namespace talvane
