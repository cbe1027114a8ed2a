#include "platform/qt/QtOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "web/WebAddress.h"

namespace talvane {

OpenResult QtOpener::open(std::u16string_view url) {
    // A file path or another scheme would start whatever the desktop maps it
    // to: only web addresses leave the program, by the rule every opener
    // shares, and only those Qt can parse.
    const QString text = QString::fromUtf16(url.data(), static_cast<qsizetype>(url.size()));
    const QUrl address(text, QUrl::TolerantMode);
    if (!IsOpenableWebAddress(url) || !address.isValid() || address.host().isEmpty()) {
        return {OpenResult::Status::Refused, "not an http or https address"};
    }
    if (!QDesktopServices::openUrl(address)) {
        return {OpenResult::Status::Failed, "the desktop did not open the address"};
    }
    return {OpenResult::Status::Started, {}};
}

}  // namespace talvane
