#pragma once

#include <QString>
#include <QUrl>
#include <QtGlobal>

namespace talvane::displaymsg {

// What the popup makes of the message "e0||||||e1||||||e2||||||e3||||||e4":
//   element 0  heading  the kind of reminder ("研讨会即将开始"); "会议提醒" when empty
//   element 1  time     when the event starts, shown after "时间："
//   element 2  title    the event's title (the program has already shortened it)
//   element 3  link     the event's identifier: a click on the card opens the
//                       event page of the service for it and the client
//                       number; an address on the service's own origin is
//                       opened as it is; anything else, an address on another
//                       host included, gives no link (service/PopupLink.h)
//   element 4  note     free text, wrapped to three lines at most
// Missing elements are empty; a sixth and later element are ignored. Line
// breaks, tabs and other control characters become spaces, and nothing is
// read as markup: the text comes from the network.
struct AlertContent {
    QString heading;
    QString time;
    QString title;
    QString note;
    QUrl link;  // empty when there is nothing to open

    bool operator==(const AlertContent&) const = default;
};

// serviceBaseUrl is the scheme-and-host prefix of the service's pages.
AlertContent parseAlertMessage(const QString& message, const QString& clientNumber,
                               const QString& serviceBaseUrl);

// The two numbers DisplayAlert receives (103 and 50 from the program):
//   arg2  how long the popup stays, in tenths of a second (103 -> 10.3 s);
//         0 or less means 10 s, and it is kept within 1 s to 120 s
//   arg3  the gap in pixels between the popup and the bottom of the screen's
//         available area, which keeps it clear of a tray panel that the
//         desktop does not report; kept within 0 to 300, negative means 50
struct PopupTiming {
    int lifetimeMs = 10000;
    int bottomGap = 50;
    bool operator==(const PopupTiming&) const = default;
};

PopupTiming popupTimingFrom(qint16 arg2, qint16 arg3);

}  // namespace talvane::displaymsg
