#include "platform/windows/MutexInstanceLock.h"

#include <windows.h>
// windows.h first: the security headers build on its types.
#include <sddl.h>

#include <utility>
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

constexpr wchar_t kListenerClass[] = L"Talvane.ShowRequest";

UINT showRequestMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Talvane.ShowPanel");
    return message;
}

}  // namespace

LRESULT MutexInstanceLock::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == showRequestMessage() && message != 0) {
        if (onShowRequest) onShowRequest();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

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
    name_ = std::move(name);
    if (earlier_ || handle_ == nullptr) return;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &ObjectWindowProc<MutexInstanceLock>;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kListenerClass;
    ::RegisterClassExW(&windowClass);  // fails harmlessly when already registered
    listener_ = ::CreateWindowExW(0, kListenerClass, name_.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, this);
}

MutexInstanceLock::~MutexInstanceLock() {
    if (listener_ != nullptr) ::DestroyWindow(listener_);
    if (handle_ != nullptr) ::CloseHandle(handle_);
}

void MutexInstanceLock::askEarlierInstanceToShow() {
    if (!earlier_ || showRequestMessage() == 0) return;
    const HWND listener = ::FindWindowExW(HWND_MESSAGE, nullptr, kListenerClass, name_.c_str());
    if (listener == nullptr) return;
    DWORD holder = 0;
    ::GetWindowThreadProcessId(listener, &holder);
    if (holder != 0) ::AllowSetForegroundWindow(holder);
    ::PostMessageW(listener, showRequestMessage(), 0, 0);
}

}  // namespace talvane
