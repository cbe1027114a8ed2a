#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include "card/CardStack.h"

namespace talvane::displaymsg {

// stackCards (see there) in the Qt card's types, logical pixels.
QList<QRect> stackPopups(const QRect& available, const QList<QSize>& newestFirst, int bottomGap);

}  // namespace talvane::displaymsg
