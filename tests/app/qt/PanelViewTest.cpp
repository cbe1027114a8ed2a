// The Qt face over the real window: pointer moves that change
// nothing repaint nothing, the hand pointer follows the model, clicks reach
// the form.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "app/qt/PanelView.h"
#include "fakes/CallLog.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakePopupComponents.h"
#include "fakes/FakeRandom.h"
#include "platform/linux/IconvCodePage.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/qt/QtAppWindow.h"

namespace talvane::testing {
namespace {

class NoFolder : public AppPaths {
  public:
    std::string applicationDirectory() const override { return "/nonexistent-talvane-view-test"; }
};

std::u16string FiveRecords() {
    std::u16string records;
    for (char16_t i = u'0'; i < u'5'; ++i) {
        if (i > u'0') records += u"@@@@";
        records += std::u16string(u"E") + i + u"$$$$标题" + i +
                   u"$$$$2026-12-10(09:00-10:00)$$$$1$$$$9$$$$详情";
    }
    return u"v||||5||||" + records;
}

class PanelViewTest : public ::testing::Test {
  protected:
    PanelViewTest()
        : window(view),
          tray(log),
          clock(OfficeHoursMonday()),
          form(FormServices{lock, window, tray, opener, profile, codePage, paths, clock, random,
                            http, automation, u"http://svc"}) {
        http.answer("");
        http.answer(codePage.fromUnicode(u"<span id=\"lblTopics\">" + FiveRecords() + u"</span>"));
        view.attach(form, window);
        EXPECT_TRUE(form.Form_Load());
        form.frmOpen_Click();
        QApplication::processEvents();
    }

    void moveTo(int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), view.mapToGlobal(QPointF(x, y)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        QApplication::processEvents();
    }
    void clickAt(int x, int y) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(x, y), view.mapToGlobal(QPointF(x, y)), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(&view, &event);
        }
        QApplication::processEvents();
    }

    CallLog log;
    PanelView view;
    QtAppWindow window;
    FakeTray tray;
    FakeOpener opener;
    FakeInstanceLock lock;
    IniSettingsStore profile;
    IconvCodePage codePage{"GBK"};
    NoFolder paths;
    FakeClock clock;
    FakeRandom random;
    FakeHttpClient http;
    FakePopupComponents automation;
    frmMain form;
};

TEST_F(PanelViewTest, MovesThatChangeNothingRepaintNothing) {
    ASSERT_TRUE(view.isVisible());
    EXPECT_EQ(view.size(), QSize(251, 661));
    moveTo(120, 112);  // background at rest: nothing to change
    const int atRest = view.paintCount();
    moveTo(125, 113);
    EXPECT_EQ(view.paintCount(), atRest);

    moveTo(5, 330);  // row 2's hover area: highlight and arrow change
    const int hovered = view.paintCount();
    EXPECT_GT(hovered, atRest);
    for (int y = 331; y < 338; ++y) {
        moveTo(5, y);
    }
    EXPECT_EQ(view.paintCount(), hovered);
}

TEST_F(PanelViewTest, HandPointerOverLinks_ArrowElsewhere) {
    moveTo(100, 150);  // title of row 0
    EXPECT_EQ(view.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(view.cursor().hotSpot(), QPoint(12, 1));
    moveTo(120, 112);
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PanelViewTest, ClickOnATitleOpensItsEventPage) {
    moveTo(120, 112);
    clickAt(100, 150);
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0],
              u"http://svc/endusers/meeting_view.aspx?FRM=Software&EventID=E0&id=unknown%20value");
}

// What a screen reader finds in the panel, by name.
QAccessibleInterface* AccessibleChild(QAccessibleInterface* panel, const QString& name) {
    for (int i = 0; i < panel->childCount(); ++i) {
        QAccessibleInterface* child = panel->child(i);
        if (child != nullptr && child->text(QAccessible::Name) == name) {
            return child;
        }
    }
    return nullptr;
}

TEST_F(PanelViewTest, AssistiveTechnologyReadsRowZero_AndItsPressOpensTheRow) {
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->text(QAccessible::Name), u"Talvane2.0（IT版）");
    const RowTable& rows = form.state().rows;
    struct Expected {
        std::u16string name;
        QAccessible::Role role;
        bool pressable;
    };
    const Expected expected[] = {
        {u"精彩研讨会，随时在线参与", QAccessible::Link, true},
        {u"最小化", QAccessible::Button, true},
        {u"关闭", QAccessible::Button, true},
        {rows.RowTitle[0], QAccessible::Link, true},
        {rows.RowStatusText[0], QAccessible::Link, true},
        {rows.RowTimeText[0], QAccessible::Link, true},
        {u"NEW", QAccessible::StaticText, false},
    };
    for (const Expected& e : expected) {
        const QString name = QString::fromStdU16String(e.name);
        QAccessibleInterface* child = AccessibleChild(panel, name);
        ASSERT_NE(child, nullptr) << name.toStdString();
        EXPECT_EQ(child->role(), e.role) << name.toStdString();
        EXPECT_EQ(child->parent(), panel);
        EXPECT_FALSE(child->rect().isEmpty()) << name.toStdString();
        QAccessibleActionInterface* actions = child->actionInterface();
        ASSERT_NE(actions, nullptr);
        EXPECT_EQ(actions->actionNames().contains(QAccessibleActionInterface::pressAction()),
                  e.pressable)
            << name.toStdString();
    }

    QAccessibleInterface* title =
        AccessibleChild(panel, QString::fromStdU16String(rows.RowTitle[0]));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(panel->childAt(title->rect().center().x(), title->rect().center().y()), title);
    title->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], rows.RowViewUrl[0]);
}

TEST_F(PanelViewTest, TabWalksTheTitles_EnterOpens_EscapePutsThePanelAway) {
    const auto press = [this](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&view, &event);
    };
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(&view);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    EXPECT_EQ(view.focusedRow(), 1);
    ASSERT_NE(panel->focusChild(), nullptr);
    EXPECT_EQ(panel->focusChild()->text(QAccessible::Name), u"标题1");
    EXPECT_TRUE(panel->focusChild()->state().focused);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view.focusedRow(), 0);
    press(Qt::Key_Return);
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], form.state().rows.RowViewUrl[0]);
    press(Qt::Key_Escape);
    EXPECT_FALSE(view.isVisible());
}

TEST_F(PanelViewTest, DoubleClickOnATitleOpensItsPageOnce) {
    moveTo(120, 112);
    // Through the window system, as a real double click arrives.
    QTest::mouseDClick(view.windowHandle(), Qt::LeftButton, {}, QPoint(100, 150));
    QApplication::processEvents();
    EXPECT_EQ(opener.opened.size(), 1u);
}

}  // namespace
}  // namespace talvane::testing
