#include "components/displaymsg/PopupPlacement.h"

#include <QtGlobal>

namespace talvane::displaymsg {

QList<QRect> stackPopups(const QRect& available, const QList<QSize>& newestFirst, int bottomGap) {
    QList<QRect> places;
    // The gap must not push even one popup off a small screen.
    int bottom = available.bottom() + 1 - qMin(bottomGap, available.height() / 2);
    for (const QSize& size : newestFirst) {
        const int left = qMax(available.left(), available.right() + 1 - kRightGap - size.width());
        const int top = qMax(available.top(), bottom - size.height());
        places.append(QRect(QPoint(left, top), size));
        bottom = top - kStackSpacing;
    }
    return places;
}

}  // namespace talvane::displaymsg
