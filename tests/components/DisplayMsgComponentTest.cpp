#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDesktopServices>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "platform/linux/ComponentAutomation.h"
#include "tests/fakes/FakeWindow.h"

namespace talvane {
namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

// The shipped component, loaded the way the program loads it, on the
// offscreen platform (an 800 x 800 screen).
class DisplayMsgComponent : public ::testing::Test {
  protected:
    ComponentAutomation automation{{TALVANE_COMPONENT_DIR}};
    std::unique_ptr<QApplication> app;

    void startApplication() {
        static int argc = 1;
        static char name[] = "components_tests";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }

    void TearDown() override {
        if (app) {
            for (QWidget* widget : QApplication::topLevelWidgets()) widget->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        automation.unloadIdleComponents();
        EXPECT_EQ(automation.librariesWaitingToUnload(), 0u);
        app.reset();
    }

    // One reminder, the way ShowReminder hands it over: create, call, release.
    bool show(const QString& message, std::int16_t arg2 = 103, std::int16_t arg3 = 50) {
        CreatedObject created = automation.create("Flarebox.DisplayMsg");
        if (!created.object) {
            ADD_FAILURE() << created.result.reason;
            return false;
        }
        const std::u16string clientNumber = u"12345202612071000001234";
        return created.object
            ->DisplayAlert(clientNumber, arg2, arg3, message.toStdU16String(), &window)
            .ok();
    }

    // The window the program hands over: only its service address is asked for.
    testing::FakeWindow window;

    static QList<QWidget*> popups() {
        QList<QWidget*> visible;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible()) visible.append(widget);
        }
        return visible;
    }

    static bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!done()) {
            if (elapsed.elapsed() > timeoutMs) return false;
            QTest::qWait(20);
        }
        return true;
    }
};

QString reminder(const QString& title, const QString& eventId = {}) {
    return QStringLiteral("直播即将开始||||||14:00||||||") + title + QStringLiteral("||||||") +
           eventId + QStringLiteral("||||||请提前进入会议室。");
}

TEST_F(DisplayMsgComponent, ShowsAQuietPopupBottomRight_ThatOutlivesItsObject_AndClosesOnAClick) {
    startApplication();
    ASSERT_TRUE(show(reminder(QStringLiteral("标题"))));
    const auto shown = popups();
    ASSERT_EQ(shown.size(), 1);
    QWidget* popup = shown[0];
    for (const Qt::WindowType flag : {Qt::Tool, Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint,
                                      Qt::WindowDoesNotAcceptFocus}) {
        EXPECT_TRUE(popup->windowFlags().testFlag(flag)) << flag;
    }
    EXPECT_TRUE(popup->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(QApplication::activeWindow(), nullptr);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(popup->geometry().right(), area.right() - 12);
    EXPECT_EQ(popup->geometry().bottom(), area.bottom() - 50);
    EXPECT_FALSE(popup->mask().isEmpty());

    // Released right after the call, but the popup keeps the library loaded.
    EXPECT_EQ(automation.librariesWaitingToUnload(), 1u);

    QTest::mouseClick(popup, Qt::RightButton, {}, QPoint(40, 40));
    EXPECT_TRUE(waitUntil([] { return QApplication::topLevelWidgets().isEmpty(); }, 2000));
    automation.unloadIdleComponents();
    EXPECT_EQ(automation.librariesWaitingToUnload(), 0u);
}

TEST_F(DisplayMsgComponent, ALeftClickOpensTheEventPageWhenThereIsOne) {
    startApplication();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    ASSERT_TRUE(
        show(reminder(QStringLiteral("有链接"), QStringLiteral("http://127.0.0.1:8765/x"))));
    // A press dragged off the card opens nothing and leaves it up.
    QTest::mousePress(popups().value(0), Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseRelease(popups().value(0), Qt::LeftButton, {}, QPoint(-10, 40));
    ASSERT_EQ(popups().size(), 1);
    EXPECT_TRUE(catcher.opened.isEmpty());
    QTest::mouseClick(popups().value(0), Qt::LeftButton, {}, QPoint(40, 40));
    ASSERT_TRUE(show(reminder(QStringLiteral("无链接"), QStringLiteral("主讲人：王工程师"))));
    QTest::mouseClick(popups().value(0), Qt::LeftButton, {}, QPoint(40, 40));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:8765/x"))});
    EXPECT_TRUE(popups().isEmpty());
}

TEST_F(DisplayMsgComponent, ScreenReadersReadTheCard_AndItsCloseButtonCloses) {
    startApplication();
    ASSERT_TRUE(show(reminder(QStringLiteral("标题"))));
    QAccessibleInterface* card = QAccessible::queryAccessibleInterface(popups().value(0));
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->role(), QAccessible::Notification);
    EXPECT_EQ(card->text(QAccessible::Name), QStringLiteral("直播即将开始"));
    QStringList names;
    QAccessibleInterface* close = nullptr;
    for (int i = 0; i < card->childCount(); ++i) {
        QAccessibleInterface* part = card->child(i);
        names << part->text(QAccessible::Name);
        EXPECT_TRUE(card->rect().contains(part->rect())) << names.last().toStdString();
        if (part->role() == QAccessible::Button) close = part;
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("直播即将开始"), QStringLiteral("标题"),
                                  QStringLiteral("时间：14:00"),
                                  QStringLiteral("请提前进入会议室。"), QStringLiteral("关闭")}));
    ASSERT_NE(close, nullptr);
    close->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(waitUntil([] { return popups().isEmpty(); }, 2000));
}

TEST_F(DisplayMsgComponent, NamesItselfByTheFirst256UnitsOfALongText_AsItShowsIt) {
    startApplication();
    const QString title(100000, QChar(u'长'));
    ASSERT_TRUE(show(reminder(title)));
    QWidget* popup = popups().value(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->windowTitle(), title.left(256));
    QAccessibleInterface* card = QAccessible::queryAccessibleInterface(popup);
    ASSERT_NE(card, nullptr);
    ASSERT_GT(card->childCount(), 1);
    EXPECT_EQ(card->child(1)->text(QAccessible::Name), title.left(256));
}

TEST_F(DisplayMsgComponent, TheCloseMarkOnlyCloses) {
    startApplication();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    // The drawn cross, the corners of a 24 x 24 square around it, and
    // (283, 18), which the Windows card once took for a click on the card.
    const int right = 320 - 16 - 4;
    for (const QPoint at :
         {QPoint(right, 18), QPoint(right - 12, 6), QPoint(right + 11, 29), QPoint(283, 18)}) {
        ASSERT_TRUE(show(reminder(QStringLiteral("关闭"), QStringLiteral("20261209001"))));
        ASSERT_EQ(popups().size(), 1);
        QTest::mouseClick(popups().value(0), Qt::LeftButton, {}, at);
        EXPECT_TRUE(popups().isEmpty()) << at.x() << "," << at.y();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(catcher.opened.isEmpty()) << catcher.opened.value(0).toString().toStdString();
    // The same card opens its page from anywhere else, the header included.
    ASSERT_TRUE(show(reminder(QStringLiteral("关闭"), QStringLiteral("20261209001"))));
    QTest::mouseClick(popups().value(0), Qt::LeftButton, {}, QPoint(right - 40, 18));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    EXPECT_EQ(catcher.opened.size(), 1);
}

TEST_F(DisplayMsgComponent, ClosesItselfWhenItsTimeIsUp) {
    startApplication();
    ASSERT_TRUE(show(reminder(QStringLiteral("一秒")), 10));  // 1.0 s
    QTest::qWait(500);
    EXPECT_EQ(popups().size(), 1);
    EXPECT_TRUE(waitUntil([] { return popups().isEmpty(); }, 3000));
}

TEST_F(DisplayMsgComponent, StacksDifferentRemindersAndRefreshesARepeat) {
    startApplication();
    for (const char* title : {"一", "二", "三", "二"}) {
        ASSERT_TRUE(show(reminder(QString::fromUtf8(title))));
    }
    auto shown = popups();
    ASSERT_EQ(shown.size(), 3);

    ASSERT_TRUE(show(reminder(QStringLiteral("四"))));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    shown = popups();
    ASSERT_EQ(shown.size(), 3);
    std::sort(shown.begin(), shown.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    // The oldest went, the repeat kept its place, the newest sits lowest.
    EXPECT_EQ(shown[0]->windowTitle(), QStringLiteral("二"));
    EXPECT_EQ(shown[1]->windowTitle(), QStringLiteral("三"));
    EXPECT_EQ(shown[2]->windowTitle(), QStringLiteral("四"));
    for (int i = 0; i + 1 < shown.size(); ++i) {
        EXPECT_LT(shown[i]->geometry().bottom(), shown[i + 1]->geometry().top());
    }
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(shown[2]->geometry().bottom(), area.bottom() - 50);
}

TEST_F(DisplayMsgComponent, FailsWithoutAQApplication) {
    EXPECT_FALSE(show(reminder(QStringLiteral("标题"))));
}

}  // namespace
}  // namespace talvane

#include "DisplayMsgComponentTest.moc"
