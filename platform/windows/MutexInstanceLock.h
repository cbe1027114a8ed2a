#pragma once

#include <windows.h>

#include <string>

#include "platform/InstanceLock.h"
#include "support/win32/ObjectWindowProc.h"

namespace talvane {

// One instance per user through a named mutex in the session's namespace
// (Local\), owned by the user and open to the user alone; one that another
// account made under the name means no instance. The system drops the name
// when the last handle goes, so a crashed instance never blocks the next
// start.
class MutexInstanceLock : public InstanceLock {
  public:
    // Takes the lock at once; name empty means DefaultName().
    explicit MutexInstanceLock(std::wstring name = {});
    ~MutexInstanceLock() override;
    MutexInstanceLock(const MutexInstanceLock&) = delete;
    MutexInstanceLock& operator=(const MutexInstanceLock&) = delete;

    bool earlierInstanceRunning() const override { return earlier_; }

    // Posts to the holder's message-only window, found by the lock's name
    // and run by a process of the same user, and lets it take the
    // foreground, which Windows grants only to the process the user just
    // started. Requests queued together are served once.
    void askEarlierInstanceToShow() override;

    // "Local\Talvane.<the user's SID>": the session namespace alone would let
    // two users of one session (runas) stop each other.
    static std::wstring DefaultName();

  private:
    template <typename Owner>
    friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::wstring name_;
    void* handle_ = nullptr;
    bool earlier_ = false;
    // The holder's end of the show request: a message-only window, which
    // only the desktop's own processes can reach.
    HWND listener_ = nullptr;
};

}  // namespace talvane
