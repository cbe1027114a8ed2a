#include "platform/windows/MutexInstanceLock.h"

#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: the security headers build on its types.
#include <sddl.h>

#include <string>

namespace talvane {
namespace {

std::wstring UniqueName(const wchar_t* what) {
    return std::wstring(L"Local\\talvane-lock-test-") + what + L"-" +
           std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
}

// A mutex as another account of the session would leave it under the name:
// its owner is not this user (here the Administrators group, which Wine
// lets any process name), its DACL open to everyone.
HANDLE ForeignMutex(const std::wstring& name) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"O:BAD:(A;;GA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr)) {
        return nullptr;
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const HANDLE mutex = CreateMutexW(&attributes, FALSE, name.c_str());
    LocalFree(descriptor);
    return mutex;
}

// Takes what is queued for this thread's windows, as the message loop does.
void DispatchQueued() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

TEST(MutexInstanceLock, NamesHeldByAnotherAccountAreNoInstance_TheUsersOwnStartsStillMeet) {
    const std::wstring name = UniqueName(L"foreign");
    const HANDLE foreign[] = {ForeignMutex(name), ForeignMutex(name + L".1")};
    ASSERT_NE(foreign[0], nullptr);
    ASSERT_NE(foreign[1], nullptr);
    {
        MutexInstanceLock first(name);
        EXPECT_FALSE(first.earlierInstanceRunning());
        MutexInstanceLock second(name);
        EXPECT_TRUE(second.earlierInstanceRunning());
    }
    for (const HANDLE mutex : foreign) CloseHandle(mutex);
}

TEST(MutexInstanceLock, ShowRequestsQueuedTogetherBringThePanelForwardOnce) {
    const std::wstring name = UniqueName(L"show");
    MutexInstanceLock first(name);
    int shown = 0;
    first.onShowRequest = [&shown] { ++shown; };
    {
        MutexInstanceLock second(name);
        MutexInstanceLock third(name);
        second.askEarlierInstanceToShow();
        third.askEarlierInstanceToShow();
    }
    DispatchQueued();
    EXPECT_EQ(shown, 1);
    MutexInstanceLock fourth(name);
    fourth.askEarlierInstanceToShow();
    DispatchQueued();
    EXPECT_EQ(shown, 2);
}

}  // namespace
}  // namespace talvane
