#pragma once

#include <QString>

#include "components/displaymsg/AlertContent.h"

namespace talvane::displaymsg {

class PopupCard;

// The reminders on screen, newest at the bottom-right and older ones above
// it. A message that is already on screen gets its countdown restarted
// instead of a second card; beyond three cards the oldest one closes.
namespace PopupStack {

// Shows message as a card (see AlertContent.h for what the arguments mean).
// serviceBaseUrl comes from the program's window; empty without one, and
// then no card links to an event page. false with a reason when there is no
// screen.
bool present(const QString& message, const QString& clientNumber, qint16 arg2, qint16 arg3,
             const QString& serviceBaseUrl, QString& error);

// Takes a closing or destroyed card out of the stack; the rest close up.
void forget(PopupCard* card);

// Cards in the stack, newest first.
int size();

}  // namespace PopupStack

}  // namespace talvane::displaymsg
