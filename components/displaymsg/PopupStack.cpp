#include "components/displaymsg/PopupStack.h"

#include <QGuiApplication>
#include <QList>
#include <QScreen>

#include "card/CardRoster.h"
#include "components/displaymsg/PopupCard.h"
#include "components/displaymsg/PopupPlacement.h"

namespace talvane::displaymsg::PopupStack {

namespace {

card::CardRoster<PopupCard*> cards;
int bottomGap = PopupTiming{}.bottomGap;

void placeCards() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || cards.size() == 0) return;
    const std::vector<PopupCard*> newestFirst = cards.newestFirst();
    QList<QSize> sizes;
    for (const PopupCard* card : newestFirst) sizes.append(card->size());
    const QList<QRect> places = stackPopups(screen->availableGeometry(), sizes, bottomGap);
    for (std::size_t i = 0; i < newestFirst.size(); ++i) {
        newestFirst[i]->move(places[qsizetype(i)].topLeft());
    }
}

}  // namespace

bool present(const QString& message, const QString& clientNumber, qint16 arg2, qint16 arg3,
             const QString& serviceBaseUrl, QString& error) {
    if (QGuiApplication::primaryScreen() == nullptr) {
        error = QStringLiteral("no screen to show the reminder on");
        return false;
    }
    const PopupTiming timing = popupTimingFrom(arg2, arg3);
    bottomGap = timing.bottomGap;

    if (PopupCard* const* shown = cards.showing(message.toStdU16String())) {
        (*shown)->restartCountdown();
        (*shown)->raise();
        return true;
    }

    auto* card = new PopupCard(parseAlertMessage(message, clientNumber, serviceBaseUrl),
                               timing.lifetimeMs, message);
    for (PopupCard* surplus : cards.add(card, message.toStdU16String())) surplus->close();
    placeCards();
    card->show();
    return true;
}

void forget(PopupCard* card) {
    if (cards.remove(card)) placeCards();
}

int size() { return static_cast<int>(cards.size()); }

}  // namespace talvane::displaymsg::PopupStack
