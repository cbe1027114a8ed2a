#pragma once

#include <windows.h>

#include <string>

#include "components/displaymsg/AlertText.h"

namespace talvane::displaymsg {

// The window class of a reminder card, for whoever has to find one.
inline constexpr wchar_t kCardClassName[] = L"TalvaneDisplayMsgCard";

// The module whose window class the cards use; set once when it loads.
void setCardModule(HINSTANCE module);

// Shows a card for text at the bottom right of the work area, timing's gap
// above its bottom, without taking the focus, for timing's lifetime (paused
// while the mouse is on it); older cards move up (see CardStack.h). A card
// with the same message on screen gets its countdown restarted instead.
// false with a reason when no window could be made. Must run on a thread
// that pumps messages.
bool showCard(const AlertText& text, const PopupTiming& timing, const std::u16string& message,
              std::wstring& reason);

// Cards on screen; the module must stay loaded while there is one.
int openCards();

// Unregisters the window class when the module unloads.
void releaseCardClass();

}  // namespace talvane::displaymsg
