#include "components/displaymsg/PopupPlacement.h"

namespace talvane::displaymsg {

QList<QRect> stackPopups(const QRect& available, const QList<QSize>& newestFirst, int bottomGap) {
    using card::CardBox;
    std::vector<CardBox> cards;
    for (const QSize& size : newestFirst) cards.push_back({0, 0, size.width(), size.height()});
    QList<QRect> places;
    const CardBox area{available.left(), available.top(), available.width(), available.height()};
    for (const CardBox& place : card::stackCards(area, cards, bottomGap)) {
        places.append(QRect(place.left, place.top, place.width, place.height));
    }
    return places;
}

}  // namespace talvane::displaymsg
