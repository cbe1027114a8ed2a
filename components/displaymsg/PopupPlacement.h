#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace talvane::displaymsg {

inline constexpr int kRightGap = 12;
inline constexpr int kStackSpacing = 8;

// Where popups of the given sizes go, newest first: the newest at the
// bottom-right of the available area, bottomGap above its bottom edge, each
// older one above the one after it. A popup that would leave the top of the
// area is placed at its top edge.
QList<QRect> stackPopups(const QRect& available, const QList<QSize>& newestFirst, int bottomGap);

}  // namespace talvane::displaymsg
