#include "components/displaymsg/AlertContent.h"

namespace talvane::displaymsg {

namespace {

std::u16string_view view(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

QString toQString(const std::u16string& text) { return QString::fromStdU16String(text); }

}  // namespace

AlertContent parseAlertMessage(const QString& message, const QString& clientNumber,
                               const QString& serviceBaseUrl) {
    const AlertText text = parseAlertText(view(message), view(clientNumber), view(serviceBaseUrl));
    AlertContent content;
    content.heading = toQString(text.heading);
    content.time = toQString(text.time);
    content.title = toQString(text.title);
    content.note = toQString(text.note);
    if (!text.link.empty()) content.link = QUrl(toQString(text.link), QUrl::StrictMode);
    return content;
}

}  // namespace talvane::displaymsg
