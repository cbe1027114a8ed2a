#pragma once

namespace talvane::displaymsg {

// Lets assistive technology read a reminder card: the card as a
// notification named by its heading, and as its children the heading, the
// title, the time, the note, the link line and the close button, each with
// the text it shows. A button's or link's press action is a mouse click on
// it, so it does what the click does.
//
// The factory lives in this library, which may be unloaded once no card is
// left: cards switch it on with the first and off with the last.
void InstallCardAccessibility();
void RemoveCardAccessibility();

}  // namespace talvane::displaymsg
