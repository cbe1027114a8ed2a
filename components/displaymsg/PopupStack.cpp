#include "components/displaymsg/PopupStack.h"

#include <QGuiApplication>
#include <QList>
#include <QScreen>

#include "components/displaymsg/PopupCard.h"
#include "components/displaymsg/PopupPlacement.h"

namespace talvane::displaymsg::PopupStack {

namespace {

QList<PopupCard*> cards;  // newest first
int bottomGap = PopupTiming{}.bottomGap;

void placeCards() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || cards.isEmpty()) return;
    QList<QSize> sizes;
    for (const PopupCard* card : cards) sizes.append(card->size());
    const QList<QRect> places = stackPopups(screen->availableGeometry(), sizes, bottomGap);
    for (qsizetype i = 0; i < cards.size(); ++i) cards[i]->move(places[i].topLeft());
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

    for (PopupCard* card : cards) {
        if (card->message() == message) {
            card->restartCountdown();
            card->raise();
            return true;
        }
    }

    auto* card = new PopupCard(parseAlertMessage(message, clientNumber, serviceBaseUrl),
                               timing.lifetimeMs, message);
    cards.prepend(card);
    while (cards.size() > kMostCards) cards.takeLast()->close();
    placeCards();
    card->show();
    return true;
}

void forget(PopupCard* card) {
    if (cards.removeOne(card)) placeCards();
}

int size() { return static_cast<int>(cards.size()); }

}  // namespace talvane::displaymsg::PopupStack
