#pragma once

#include <QString>
#include <QUrl>
#include <QtGlobal>

#include "components/displaymsg/AlertText.h"

namespace talvane::displaymsg {

// AlertText (see there for what each element means) in the Qt card's types.
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

}  // namespace talvane::displaymsg
