#include "platform/windows/MutexInstanceLock.h"

#include <windows.h>
// windows.h first: the security headers build on its types.
#include <sddl.h>

#include <vector>

namespace talvane {
namespace {

std::wstring userSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    std::wstring text;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    LPWSTR sid = nullptr;
    if (size > 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
        text = sid;
        ::LocalFree(sid);
    }
    ::CloseHandle(token);
    return text;
}

}  // namespace

std::wstring MutexInstanceLock::DefaultName() {
    const std::wstring sid = userSid();
    return sid.empty() ? L"Local\\Talvane" : L"Local\\Talvane." + sid;
}

MutexInstanceLock::MutexInstanceLock(std::wstring name) {
    if (name.empty()) name = DefaultName();
    handle_ = ::CreateMutexW(nullptr, FALSE, name.c_str());
    // A name held by an object someone else may not share (access denied,
    // or not a mutex) cannot be trusted to mean an earlier instance: run
    // rather than not at all, as with an untrusted lock file on Linux.
    earlier_ = handle_ != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

MutexInstanceLock::~MutexInstanceLock() {
    if (handle_ != nullptr) ::CloseHandle(handle_);
}

}  // namespace talvane
