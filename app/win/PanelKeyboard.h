#pragma once

#include <windows.h>

namespace talvane {

class frmMain;

// The panel by keyboard on the Win32 face, with the Qt face's rules and
// focus order: Tab and Shift+Tab go from title to title, Enter opens the
// focused row, Escape puts the panel away as the close glyph does. The
// focused title wears the system's dotted focus frame.
class PanelKeyboard {
  public:
    // The row whose title has the focus; -1: none.
    int focusedRow() const { return row_; }

    // WM_KEYDOWN; true when the key was the panel's.
    bool keyDown(HWND hwnd, frmMain& form, WPARAM key, UINT dpi);

    // Drawn last, over everything else.
    void drawFocus(HDC dc, const frmMain& form, UINT dpi) const;

  private:
    int row_ = -1;
};

}  // namespace talvane
