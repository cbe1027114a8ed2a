#include "components/displaymsg/AlertContent.h"

#include <QStringList>

#include "service/PopupLink.h"

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

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == u"http" || scheme == u"https");
}

QUrl linkFor(const QString& element, const QString& clientNumber, const QString& serviceBaseUrl) {
    const std::u16string link = PopupLinkFor(
        element.toStdU16String(), clientNumber.toStdU16String(), serviceBaseUrl.toStdU16String());
    if (link.empty()) return {};
    const QUrl url(QString::fromStdU16String(link), QUrl::StrictMode);
    return isWebAddress(url) ? url : QUrl();
}

}  // namespace

AlertContent parseAlertMessage(const QString& message, const QString& clientNumber,
                               const QString& serviceBaseUrl) {
    QStringList elements = message.split(kSeparator);
    while (elements.size() < 5) elements.append(QString());

    AlertContent content;
    content.heading = plainLine(elements[0]);
    if (content.heading.isEmpty()) content.heading = kDefaultHeading;
    content.time = plainLine(elements[1]);
    content.title = plainLine(elements[2]);
    content.link = linkFor(plainLine(elements[3]), clientNumber, serviceBaseUrl);
    content.note = plainLine(elements[4]);
    return content;
}

PopupTiming popupTimingFrom(qint16 arg2, qint16 arg3) {
    PopupTiming timing;
    if (arg2 > 0) timing.lifetimeMs = qBound(1000, arg2 * 100, 120000);
    if (arg3 >= 0) timing.bottomGap = qMin<int>(arg3, 300);
    return timing;
}

}  // namespace talvane::displaymsg
