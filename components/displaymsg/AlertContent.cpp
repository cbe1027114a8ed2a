#include "components/displaymsg/AlertContent.h"

#include <QStringList>

namespace talvane::displaymsg {

namespace {

const QString kSeparator = QStringLiteral("||||||");
const QString kDefaultHeading = QStringLiteral("会议提醒");

QString plainLine(const QString& text) {
    QString line = text;
    for (QChar& c : line) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || u == 0x2028 || u == 0x2029) c = u' ';
    }
    return line.simplified();
}

QUrl openableLink(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https")) {
        return {};
    }
    return url;
}

}  // namespace

AlertContent parseAlertMessage(const QString& message) {
    QStringList elements = message.split(kSeparator);
    while (elements.size() < 5) elements.append(QString());

    AlertContent content;
    content.heading = plainLine(elements[0]);
    if (content.heading.isEmpty()) content.heading = kDefaultHeading;
    content.time = plainLine(elements[1]);
    content.title = plainLine(elements[2]);
    content.body = plainLine(elements[3]);
    const QString last = plainLine(elements[4]);
    content.link = openableLink(last);
    if (!content.link.isValid()) content.footnote = last;
    return content;
}

PopupTiming popupTimingFrom(qint16 arg2, qint16 arg3) {
    PopupTiming timing;
    if (arg2 > 0) timing.lifetimeMs = qBound(1000, arg2 * 100, 120000);
    if (arg3 >= 0) timing.bottomGap = qMin<int>(arg3, 300);
    return timing;
}

}  // namespace talvane::displaymsg
