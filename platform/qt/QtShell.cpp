#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace talvane {

void QtShell::openUrl(std::u16string_view url) {
    const QString text = QString::fromUtf16(url.data(), static_cast<qsizetype>(url.size()));
    QDesktopServices::openUrl(QUrl(text, QUrl::TolerantMode));
}

}  // namespace talvane
