#pragma once

#include <windows.h>

#include "components/displaymsg/AlertText.h"

namespace talvane::displaymsg {

// Tells screen readers that a card has appeared, without taking the focus:
// an MSAA alert event for the card's window, and on systems that have it a
// UI Automation notification that reads the reminder out.
void announceCard(HWND window, const AlertText& text);

}  // namespace talvane::displaymsg
