#pragma once

#include <windows.h>

#include "components/displaymsg/AlertText.h"

namespace talvane::displaymsg {

// What a screen reader reads of a card: an MSAA alert named by its heading,
// with the title (a link when the card opens a page), the time, the note
// and the close button as its children. The default actions are the
// card's own clicks: the link's opens the page, the close button's only
// closes.

// WM_GETOBJECT: answers OBJID_CLIENT with the card's object, made on the
// first request; closeBox is the close mark's target in client pixels.
bool answerCardObject(HWND window, const AlertText& text, const RECT& closeBox, WPARAM wParam,
                      LPARAM lParam, LRESULT& result);

// The window is going: clients still holding its object get
// "disconnected" from then on.
void forgetCardObject(HWND window);

}  // namespace talvane::displaymsg
