#pragma once

#include <windows.h>

#include "support/win32/ObjectWindowProc.h"

#include <functional>

#include "app/win/PanelAccessible.h"
#include "app/win/PanelColours.h"
#include "app/win/PanelKeyboard.h"
#include "app/win/PanelPictures.h"
#include "app/win/PanelText.h"
#include "input/PressKind.h"
#include "support/win32/GdiOwners.h"

namespace talvane {

class frmMain;
class Win32Window;

// The Win32 face of the panel: the window class and procedure. It draws
// frmMain's element model and forwards pointer input to it in twips; it
// holds no state of the panel itself.
class PanelWindow {
  public:
    PanelWindow();
    ~PanelWindow();
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

    // The form and the window object must outlive the window's messages.
    void attach(frmMain& form, Win32Window& window);

    // Timer1: WM_TIMER every intervalMs, from now on.
    void startTimer(UINT intervalMs);

    // WM_SETTINGCHANGE: the system's settings named by lParam (an area such
    // as "Internet Settings", or null) changed.
    std::function<void(const wchar_t* area)> onSettingChange;

  private:
    template <typename Owner>
    friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    void fitToDpi(UINT dpi);
    void prepareForDpi();
    void paint();
    void drawElements(HDC dc, const RECT& dirty);
    float twipsPerPixel() const;
    POINT toPixels(float xTwips, float yTwips) const;
    float toTwips(int pixels) const;
    bool setPointer();
    void pointerMove(LPARAM at, WPARAM keys);
    void pointerDown(LPARAM at, WPARAM keys, int button, PressKind kind);
    void pointerUp(LPARAM at, int button);

    HWND hwnd_ = nullptr;
    frmMain* form_ = nullptr;
    Win32Window* window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    UINT preparedDpi_ = 0;  // what pictures_, text_ and hand_ were made for
    PanelPictures pictures_;
    PanelText text_;
    win::UniqueCursor hand_;
    PanelKeyboard keyboard_;
    PanelColours colours_;
    PanelAccessibility accessibility_;
};

}  // namespace talvane
