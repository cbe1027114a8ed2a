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

#include <cmath>

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

// Start-up minimizes the hidden panel; that must not make its native window
// (X requests before the tray icon), and the state must hold when shown.
TEST(QtAppWindowState, AHiddenWindowKeepsItsStateForItsShowing_WithoutANativeWindowTillThen) {
    QWidget widget;
    QtAppWindow window(widget);
    window.setWindowState(WindowState::Minimized);
    EXPECT_EQ(window.windowState(), WindowState::Minimized);
    EXPECT_FALSE(widget.testAttribute(Qt::WA_WState_Created));
    window.setVisible(true);
    EXPECT_TRUE(widget.isVisible());
    EXPECT_TRUE(widget.isMinimized());
    window.setVisible(false);
    EXPECT_EQ(window.windowState(), WindowState::Minimized);
    // A tray click: normal while hidden, then shown.
    window.setWindowState(WindowState::Normal);
    EXPECT_EQ(window.windowState(), WindowState::Normal);
    window.showModeless();
    EXPECT_TRUE(widget.isVisible());
    EXPECT_FALSE(widget.isMinimized());
    EXPECT_EQ(window.windowState(), WindowState::Normal);
}

TEST_F(PanelViewTest, DoubleClickOnATitleOpensItsPageOnce) {
    moveTo(120, 112);
    // Through the window system, as a real double click arrives.
    QTest::mouseDClick(view.windowHandle(), Qt::LeftButton, {}, QPoint(100, 150));
    QApplication::processEvents();
    EXPECT_EQ(opener.opened.size(), 1u);
}

// Pixels within a few steps of colour, where text is drawn smoothed.
int PixelsNear(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                         std::abs(c.blue() - colour.blue()) <
                     40;
        }
    }
    return count;
}

TEST_F(PanelViewTest, SystemColours_LabelsTakeButtonText_HighContrastDrawsOnlyThePalette) {
    moveTo(120, 112);
    const QPalette original = QApplication::palette();
    const QImage art = view.grab().toImage();
    const QColor buttonText(0x12, 0x34, 0xab);
    QPalette themed = original;
    themed.setColor(QPalette::ButtonText, buttonText);
    QApplication::setPalette(themed);
    QApplication::processEvents();
    EXPECT_GT(PixelsNear(view.grab().toImage(), buttonText), 100) << "row labels";
    EXPECT_LT(PixelsNear(art, buttonText), 10);

    QPalette contrast;
    for (auto role : {QPalette::Window, QPalette::Base}) contrast.setColor(role, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        contrast.setColor(role, Qt::white);
    }
    contrast.setColor(QPalette::Link, Qt::yellow);
    contrast.setColor(QPalette::Highlight, Qt::green);
    QApplication::setPalette(contrast);
    QApplication::processEvents();
    moveTo(5, 330);  // row 2 highlighted: a frame in the highlight colour
    const QImage plain = view.grab().toImage();
    EXPECT_EQ(plain.pixel(235, 160), qRgb(0, 0, 0)) << "row 0's band";
    EXPECT_EQ(plain.pixel(20, 90), qRgb(0, 0, 0)) << "the header's artwork";
    EXPECT_GT(PixelsNear(plain, Qt::yellow), 300) << "links";
    EXPECT_GT(PixelsNear(plain, Qt::green), 400) << "the highlight's frame";

    QApplication::setPalette(original);
    moveTo(120, 112);
    const QImage back = view.grab().toImage();
    for (const QPoint at : {QPoint(235, 160), QPoint(20, 90), QPoint(100, 150)}) {
        EXPECT_EQ(back.pixel(at), art.pixel(at)) << at.x() << "," << at.y();
    }
}

// Run again by ctest at 120 dpi with Qt's scaling (a pixel ratio of 1.25)
// and at 144 dpi without it (a twip is 1/10 of a logical pixel).
class PanelViewAtScale : public PanelViewTest {};

TEST_F(PanelViewAtScale, RowsBandsAndHoverAreasLineUp) {
    const float tpp = window.screen().twipsPerPixelY;
    const qreal ratio = view.devicePixelRatioF();  // grabs are in device pixels
    const auto px = [tpp](float twips) { return static_cast<int>(std::lround(twips / tpp)); };
    const auto device = [&](float twips) {
        return static_cast<int>(std::lround(twips / tpp * ratio));
    };
    moveTo(px(1800), px(1680));  // the background above row 0
    const QImage rest = view.grab().toImage();
    for (int row = 0; row < kPanelRows; ++row) {
        SCOPED_TRACE(row);
        moveTo(px(75), px(2500 + 1500 * row));  // inside row's hover area, left of its text
        EXPECT_TRUE(form.model().at(ElementName::ImgBack, row).visible);
        const QImage lit = view.grab().toImage();
        int top = lit.height(), bottom = -1, right = -1;
        for (int y = 0; y < lit.height(); ++y) {
            for (int x = 0; x < lit.width(); ++x) {
                if (lit.pixel(x, y) == rest.pixel(x, y)) continue;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                right = std::max(right, x);
            }
        }
        // The highlight covers the row's band, 1500 twips from 1800 + 1500 x row.
        EXPECT_NEAR(top, device(1800 + 1500 * row), 2);
        EXPECT_NEAR(bottom + 1, device(3300 + 1500 * row), 2);
        EXPECT_GE(right, device(3600));
        moveTo(px(1800), px(1680));
    }
}

}  // namespace
}  // namespace talvane::testing
