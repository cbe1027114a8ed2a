#include "platform/qt/QtOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace talvane {

OpenResult QtOpener::open(std::u16string_view url) {
    const QString text = QString::fromUtf16(url.data(), static_cast<qsizetype>(url.size()));
    const QUrl address(text, QUrl::TolerantMode);
    const QString scheme = address.scheme().toLower();
    // A file path or another scheme would start whatever the desktop maps it
    // to: only web addresses leave the program.
    if (!address.isValid() || (scheme != u"http" && scheme != u"https") ||
        address.host().isEmpty()) {
        return {OpenResult::Status::Refused, "not an http or https address"};
    }
    if (!QDesktopServices::openUrl(address)) {
        return {OpenResult::Status::Failed, "the desktop did not open the address"};
    }
    return {OpenResult::Status::Started, {}};
}

}  // namespace talvane
