#include "platform/windows/MutexInstanceLock.h"

#include <windows.h>
// windows.h first: the security headers build on its types.
#include <aclapi.h>
#include <sddl.h>

#include <utility>
#include <vector>

namespace talvane {
namespace {

// What a token says of `what` (TokenUser, TokenOwner); empty when it cannot
// be read.
std::vector<unsigned char> tokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS what) {
    DWORD size = 0;
    ::GetTokenInformation(token, what, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !::GetTokenInformation(token, what, buffer.data(), size, &size)) return {};
    return buffer;
}

std::vector<unsigned char> processInformation(HANDLE process, TOKEN_INFORMATION_CLASS what) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &token)) return {};
    auto information = tokenInformation(token, what);
    ::CloseHandle(token);
    return information;
}

PSID userOf(std::vector<unsigned char>& tokenUser) {
    return tokenUser.empty() ? nullptr : reinterpret_cast<TOKEN_USER*>(tokenUser.data())->User.Sid;
}

// This process's user, as a SID and as text.
std::vector<unsigned char>& thisUser() {
    static std::vector<unsigned char> user = processInformation(::GetCurrentProcess(), TokenUser);
    return user;
}

std::wstring sidText(PSID sid) {
    LPWSTR text = nullptr;
    if (sid == nullptr || !::ConvertSidToStringSidW(sid, &text)) return {};
    std::wstring result(text);
    ::LocalFree(text);
    return result;
}

// Whether `object` was made by this user: its owner is the user, or the
// owner the user's token gives new objects (an elevated administrator's
// make the Administrators group their owner). Another account of the
// session cannot make an object owned by this user.
bool ownedByThisUser(HANDLE object) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                          nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    auto defaultOwner = processInformation(::GetCurrentProcess(), TokenOwner);
    const PSID user = userOf(thisUser());
    const bool mine =
        owner != nullptr &&
        ((user != nullptr && ::EqualSid(owner, user)) ||
         (!defaultOwner.empty() &&
          ::EqualSid(owner, reinterpret_cast<TOKEN_OWNER*>(defaultOwner.data())->Owner)));
    ::LocalFree(descriptor);
    return mine;
}

bool processOfThisUser(DWORD processId) {
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return false;
    auto user = processInformation(process, TokenUser);
    ::CloseHandle(process);
    const PSID mine = userOf(thisUser());
    return mine != nullptr && userOf(user) != nullptr && ::EqualSid(userOf(user), mine);
}

// Owned by the user and open to the user alone.
struct UserOnlySecurity {
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    UserOnlySecurity() {
        const std::wstring user = sidText(userOf(thisUser()));
        if (user.empty()) return;
        const std::wstring text = L"O:" + user + L"D:P(A;;GA;;;" + user + L")";
        ::ConvertStringSecurityDescriptorToSecurityDescriptorW(
            text.c_str(), SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr);
    }
    ~UserOnlySecurity() { ::LocalFree(attributes.lpSecurityDescriptor); }
    UserOnlySecurity(const UserOnlySecurity&) = delete;
    UserOnlySecurity& operator=(const UserOnlySecurity&) = delete;
};

constexpr wchar_t kListenerClass[] = L"Talvane.ShowRequest";

// Names tried in turn while another account holds the one before.
constexpr int kNames = 4;

UINT showRequestMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Talvane.ShowPanel");
    return message;
}

}  // namespace

LRESULT MutexInstanceLock::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == showRequestMessage() && message != 0) {
        // Starts in quick succession bring the panel forward once.
        MSG more;
        while (::PeekMessageW(&more, window, message, message, PM_REMOVE)) {
        }
        if (onShowRequest) onShowRequest();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

std::wstring MutexInstanceLock::DefaultName() {
    const std::wstring sid = sidText(userOf(thisUser()));
    return sid.empty() ? L"Local\\Talvane" : L"Local\\Talvane." + sid;
}

MutexInstanceLock::MutexInstanceLock(std::wstring name) {
    if (name.empty()) name = DefaultName();
    // Another account of the session can make the name first, with an open
    // DACL: it means no instance of this user, and the next name of a short
    // fixed sequence keeps the lock among the user's own starts. A name that
    // cannot be opened at all (access denied, not a mutex) is passed over
    // the same way. When every name is taken the program runs unlocked
    // rather than not at all, as with an untrusted lock file on Linux.
    UserOnlySecurity security;
    for (int attempt = 0; attempt < kNames && handle_ == nullptr; ++attempt) {
        std::wstring candidate = attempt == 0 ? name : name + L"." + std::to_wstring(attempt);
        const HANDLE mutex = ::CreateMutexW(&security.attributes, FALSE, candidate.c_str());
        if (mutex == nullptr) continue;
        const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
        if (existed && !ownedByThisUser(mutex)) {
            ::CloseHandle(mutex);
            continue;
        }
        handle_ = mutex;
        earlier_ = existed;
        name_ = std::move(candidate);
    }
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
    // Any process of the desktop can make a window of this class and title;
    // only the user's own instance is asked, and allowed the foreground.
    for (HWND listener = ::FindWindowExW(HWND_MESSAGE, nullptr, kListenerClass, name_.c_str());
         listener != nullptr;
         listener = ::FindWindowExW(HWND_MESSAGE, listener, kListenerClass, name_.c_str())) {
        DWORD holder = 0;
        ::GetWindowThreadProcessId(listener, &holder);
        if (holder == 0 || !processOfThisUser(holder)) continue;
        ::AllowSetForegroundWindow(holder);
        ::PostMessageW(listener, showRequestMessage(), 0, 0);
        return;
    }
}

}  // namespace talvane
