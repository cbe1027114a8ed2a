#pragma once

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <string>

#include "input/TrayClicks.h"
#include "platform/Tray.h"
#include "support/win32/ObjectWindowProc.h"

namespace talvane {

// The notification-area icon through Shell_NotifyIconW. It has a hidden
// top-level window of its own for the icon's messages: a message-only window
// would never hear "TaskbarCreated", after which Explorer has forgotten every
// icon and this one is added again.
class Win32Tray : public Tray {
  public:
    // icon stays owned by the caller and must outlive the tray.
    explicit Win32Tray(HICON icon);
    ~Win32Tray() override;
    Win32Tray(const Win32Tray&) = delete;
    Win32Tray& operator=(const Win32Tray&) = delete;

    void setShown(bool shown) override;
    void setTooltip(const std::u16string& tip) override;
    int showMenu(const std::vector<MenuItem>& items) override;

  private:
    template <typename Owner>
    friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    NOTIFYICONDATAW iconData(UINT flags) const;
    void add();

    HWND hwnd_ = nullptr;
    HICON icon_;
    TrayClicks clicks_;
    UINT taskbarCreated_;
    std::u16string tip_;
    bool wanted_ = false;  // the program asked for the icon
    bool added_ = false;   // the shell holds it
};

}  // namespace talvane
