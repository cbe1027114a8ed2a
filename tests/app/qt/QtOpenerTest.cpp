// The desktop's opener is handed web addresses only: a path, a file address
// or another scheme never reaches it, whatever the service sent.
#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include <gtest/gtest.h>

#include "platform/qt/QtOpener.h"

namespace talvane {
namespace {

class DesktopHandler : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST(QtOpener, HandsOnlyHttpAndHttpsAddressesToTheDesktop) {
    DesktopHandler desktop;
    const QStringList schemes{"http", "https", "file", "ftp", "javascript", "mailto", "smb"};
    for (const QString& scheme : schemes) QDesktopServices::setUrlHandler(scheme, &desktop, "open");

    const std::u16string refused[] = {
        u"file:///etc/passwd",
        u"/etc/passwd",
        u"/usr/share/applications/x.desktop",
        u"x.desktop",
        u"ftp://127.0.0.1/x",
        u"javascript:alert(1)",
        u"mailto:a@b.test",
        u"smb://127.0.0.1/s",
        u"http://",
        u"",
    };
    QtOpener opener;
    for (const std::u16string& url : refused) {
        EXPECT_EQ(opener.open(url).status, OpenResult::Status::Refused)
            << QString::fromStdU16String(url).toStdString();
    }
    EXPECT_TRUE(desktop.opened.isEmpty()) << desktop.opened.value(0).toString().toStdString();

    EXPECT_TRUE(opener.open(u"http://127.0.0.1:8765/endusers/Index.aspx?sysID=1").started());
    EXPECT_TRUE(opener.open(u"HTTPS://svc.test/x").started());
    EXPECT_TRUE(opener.open(u"http://host:/endusers/meeting_view.aspx?EventID=E%0D%0A1").started());
    for (const QString& scheme : schemes) QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(desktop.opened.size(), 3);
}

}  // namespace
}  // namespace talvane

#include "QtOpenerTest.moc"
