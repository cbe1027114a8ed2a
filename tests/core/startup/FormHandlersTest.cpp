#include <gtest/gtest.h>

#include "startup/FormFixture.h"

namespace talvane::testing {
namespace {

constexpr char16_t kNumber[] = u"000122008120509030730000";

class FormHandlersTest : public FormTest {
  protected:
    void SetUp() override {
        load();
        log.entries.clear();
    }
    // A left click in the middle of an element's rectangle.
    void clickOn(ElementName name, int index = -1) {
        const TwipRect r = form.model().at(name, index).rect;
        clickAt(r.left + r.width / 2, r.top + r.height / 2);
    }
    void clickAt(float x, float y, PressKind kind = PressKind::Single) {
        form.pointerDown(x, y, 1, 0, kind);
        form.pointerUp(x, y, 1);
    }
};

TEST_F(FormHandlersTest, TrayIcon_AnyButtonButTheRightRestoresAndShows) {
    for (const TrayButton button : {TrayButton::Left, TrayButton::Middle, TrayButton{99}}) {
        log.entries.clear();
        window.state = WindowState::Minimized;
        form.cSysTray1_TrayMouse(button);
        EXPECT_EQ(log.entries, (std::vector<std::string>{"setWindowState 0", "setVisible 0",
                                                         "tray shown 1", "show"}))
            << "button " << static_cast<int>(button);
        EXPECT_TRUE(window.visible);
        EXPECT_EQ(window.state, WindowState::Normal);
    }
}

TEST_F(FormHandlersTest, TrayMenu_OffersOpenAndExit_AndLeavesTheWindowAloneWhenClosedEmpty) {
    window.visible = true;
    tray.menuChoice = -1;
    form.cSysTray1_TrayMouse(TrayButton::Right);
    EXPECT_EQ(log.entries, std::vector<std::string>{"menu"});
    ASSERT_EQ(tray.lastMenu.size(), 3u);
    EXPECT_EQ(tray.lastMenu[0].caption, u"打开(&F)");
    EXPECT_EQ(tray.lastMenu[1].caption, u"-");
    EXPECT_EQ(tray.lastMenu[2].caption, u"退出(&E)");

    log.entries.clear();
    tray.menuChoice = 0;
    form.cSysTray1_TrayMouse(TrayButton::Right);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"menu", "setWindowState 0", "setVisible 1",
                                                     "tray shown 1", "show"}));

    log.entries.clear();
    const std::size_t requests = fakeHttp.urls.size();
    tray.menuChoice = 2;
    form.cSysTray1_TrayMouse(TrayButton::Right);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"menu", "unload"}));
    EXPECT_EQ(fakeHttp.urls.size(), requests);  // Exit sends nothing
}

TEST_F(FormHandlersTest, CaptionGlyphs_PutAwayToTheTrayOrMinimise) {
    window.visible = true;
    clickOn(ElementName::imgClose);
    EXPECT_EQ(log.entries,
              (std::vector<std::string>{"setWindowState 1", "tray shown 1", "setVisible 0"}));
    log.entries.clear();
    clickOn(ElementName::imgMini);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"setWindowState 1", "setVisible 1"}));
    // Where the two overlap the close glyph wins.
    log.entries.clear();
    clickAt(3005, 100);
    EXPECT_EQ(log.entries.back(), "setVisible 0");
}

TEST_F(FormHandlersTest, WithoutATrayHost_ThePanelShowsItself_AndTheCloseGlyphOnlyMinimises) {
    form.ShowPanelWithoutTrayHost();  // a host came in time: nothing happens
    EXPECT_TRUE(log.entries.empty());

    tray.host = false;
    form.ShowPanelWithoutTrayHost();
    EXPECT_EQ(log.entries, (std::vector<std::string>{"setWindowState 0", "setVisible 1",
                                                     "tray shown 1", "show"}));
    log.entries.clear();
    clickOn(ElementName::imgClose);
    EXPECT_EQ(log.entries,
              (std::vector<std::string>{"setWindowState 1", "tray shown 1", "setVisible 1"}));
}

TEST_F(FormHandlersTest, ALaterStart_BringsThePanelForwardAsOpenDoes) {
    ASSERT_TRUE(lock.onShowRequest);
    lock.onShowRequest();
    EXPECT_EQ(log.entries, (std::vector<std::string>{"setWindowState 0", "setVisible 1",
                                                     "tray shown 1", "show"}));
}

TEST_F(FormHandlersTest, PressOnTheBareBackground_StartsTheSystemMove_WithAnyButton) {
    for (int button : {1, 2, 4}) {
        form.pointerDown(100, 1000 - 400, button, 0);  // header, left of the banner
    }
    EXPECT_EQ(log.entries, std::vector<std::string>(3, "startSystemMove"));
    log.entries.clear();
    clickOn(ElementName::Image1);  // an element takes the press itself
    form.pointerDown(2000, 1200, 1, 0);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(FormHandlersTest, RowLinks_OpenTheEventOrReplayPage) {
    const std::u16string view1 =
        u"http://svc/endusers/meeting_view.aspx?FRM=Software&EventID=E1&id=" +
        std::u16string(kNumber);
    const std::u16string replay1 =
        u"http://svc/endusers/WebinarPlayBack.aspx?FRM=Software&EventID=E1&id=" +
        std::u16string(kNumber);
    clickOn(ElementName::lblList, 1);
    clickOn(ElementName::lblReg, 1);
    clickOn(ElementName::lblTime, 1);
    clickOn(ElementName::lblTime, 2);
    ASSERT_EQ(opener.opened.size(), 4u);
    EXPECT_EQ(opener.opened[0], view1);
    EXPECT_EQ(opener.opened[1], view1);
    EXPECT_EQ(opener.opened[2], replay1);
    EXPECT_EQ(opener.opened[3], form.state().rows.RowViewUrl[2]);
}

TEST_F(FormHandlersTest, BannerAndBothFooterLabels_OpenThePortalWithTheClientNumber) {
    clickOn(ElementName::Image1);
    clickAt(1000, 9500);  // white text (lies on top)
    clickAt(1000, 9750);  // only the shadow label reaches down here
    const std::u16string portal =
        u"http://svc/endusers/Index.aspx?FRM=Software&sysID=" + std::u16string(kNumber);
    EXPECT_EQ(opener.opened, std::vector<std::u16string>(3, portal));
}

TEST_F(FormHandlersTest, Clicks_ReachOnlyTheTopmostElement_AndNeedPressAndReleaseOnIt) {
    // Row 2's badge lies on its title and has no handler.
    const TwipRect badge = form.model().at(ElementName::imgNew, 2).rect;
    clickAt(badge.left + 10, badge.top + 10);
    EXPECT_TRUE(opener.opened.empty());
    // In row 0 the title lies on the badge.
    const TwipRect badge0 = form.model().at(ElementName::imgNew, 0).rect;
    clickAt(badge0.left + 10, badge0.top + 10);
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], form.state().rows.RowViewUrl[0]);
    // Pressed on a title, released on the background: no click.
    form.pointerDown(1000, 2200, 1, 0);
    form.pointerUp(100, 700, 1);
    EXPECT_EQ(opener.opened.size(), 1u);
}

// The pointer is captured from the press to its release on both faces:
// dragged off a pressed title, the hover follows it and the release clicks
// nothing; a release whose press went elsewhere clicks nothing either.
TEST_F(FormHandlersTest, PressIsHeldUntilItsRelease_AndOnlyThatReleaseClicks) {
    const TwipRect title = form.model().at(ElementName::lblList, 1).rect;
    const float x = title.left + 20;
    const float y = title.top + 20;
    const TwipRect area = form.model().at(ElementName::ImgNULL, 1).rect;
    form.pointerMove(area.left + 20, area.top + 20, 0, 0);  // the row's highlight
    form.pointerMove(x, y, 0, 0);                           // its balloon
    form.pointerDown(x, y, 1, 0);
    ASSERT_TRUE(form.model().at(ElementName::ImgBack, 1).visible);
    ASSERT_TRUE(form.model().at(ElementName::ImgContent, 1).visible);
    form.pointerMove(-300, y, 1, 0);  // captured: left of the window
    EXPECT_FALSE(form.model().at(ElementName::ImgBack, 1).visible);
    EXPECT_FALSE(form.model().at(ElementName::ImgContent, 1).visible);
    EXPECT_FALSE(form.model().at(ElementName::txtMainBottom, 1).visible);
    form.pointerUp(-300, y, 1);
    EXPECT_TRUE(opener.opened.empty());

    // Released on the title again, after a detour: still the press's click.
    form.pointerDown(x, y, 1, 0);
    form.pointerMove(-300, y, 1, 0);
    form.pointerMove(x, y, 1, 0);
    form.pointerUp(x, y, 1);
    EXPECT_EQ(opener.opened.size(), 1u);

    // No press, or one that the move loop or a lost capture took.
    form.pointerUp(x, y, 1);
    form.pointerDown(x, y, 1, 0);
    form.pointerDown(100, 700, 1, 0);  // the move loop eats the left release
    form.pointerUp(x, y, 1);
    form.pointerDown(x, y, 1, 0);
    form.pointerCaptureLost();
    form.pointerUp(x, y, 1);
    form.pointerDown(x, y, 2, 0);
    form.pointerUp(x, y, 2);  // only the left button clicks
    EXPECT_EQ(opener.opened.size(), 1u);
}

TEST_F(FormHandlersTest, DoubleClick_OpensEachPageOnce) {
    const std::pair<ElementName, int> links[] = {{ElementName::lblList, 1},
                                                 {ElementName::lblReg, 1},
                                                 {ElementName::lblTime, 1},
                                                 {ElementName::Image1, -1},
                                                 {ElementName::lblBottom1, -1}};
    for (const auto& [name, index] : links) {
        const TwipRect r = form.model().at(name, index).rect;
        const float x = r.left + r.width / 2;
        const float y = r.top + r.height / 2;
        clickAt(x, y);
        clickAt(x, y, PressKind::SecondOfDouble);  // Win32: the double click replaces the press
        form.pointerDown(x, y, 1, 0);              // Qt: it follows the press
        form.pointerDoubleClick(1);
        form.pointerUp(x, y, 1);
    }
    EXPECT_EQ(opener.opened.size(), std::size(links));
}

TEST_F(FormHandlersTest, RowWithoutAnEvent_OpensNothing) {
    FakeHttpClient emptyService;
    CallLog otherLog;
    FakeAppWindow otherWindow(otherLog);
    FakeTray otherTray(otherLog);
    frmMain empty(FormServices{lock, otherWindow, otherTray, opener, profile, codePage, paths,
                               clock, random, emptyService, automation, u"http://svc"});
    ASSERT_TRUE(empty.Form_Load());
    const TwipRect title = empty.model().at(ElementName::lblList, 3).rect;
    empty.pointerDown(title.left + 5, title.top + 5, 1, 0);
    empty.pointerUp(title.left + 5, title.top + 5, 1);
    EXPECT_TRUE(opener.opened.empty());
}

TEST_F(FormHandlersTest, PointerMoves_RepaintOnlyWhatChanged) {
    const TwipRect area = form.model().at(ElementName::ImgNULL, 2).rect;
    form.pointerMove(area.left + 20, area.top + 20, 0, 0);
    EXPECT_FALSE(window.repainted.empty());
    window.repainted.clear();
    form.pointerMove(area.left + 30, area.top + 20, 0, 0);  // same row, nothing changes
    EXPECT_TRUE(window.repainted.empty());
    form.pointerMove(100, 700, 0, 0);  // header: back to rest
    EXPECT_FALSE(window.repainted.empty());
    EXPECT_EQ(form.pointerShapeAt(100, 700), PointerShape::Arrow);
    const TwipRect title = form.model().at(ElementName::lblList, 0).rect;
    EXPECT_EQ(form.pointerShapeAt(title.left + 5, title.top + 5), PointerShape::Hand);
}

TEST_F(FormHandlersTest, Timer_PollsOnTheSeventhTickAndReportsOnTheThirtieth) {
    fakeHttp.urls.clear();
    for (int tick = 1; tick <= 30; ++tick) {
        form.Timer1_Timer();
    }
    ASSERT_EQ(fakeHttp.urls.size(), 5u);  // ticks 7, 14, 21, 28 and the visit on 30
    EXPECT_EQ(fakeHttp.urls[0], u"http://svc/EndUsers/ClientReminderNew.aspx?id=" +
                                    std::u16string(kNumber) + u"&sjs=77");
    EXPECT_EQ(fakeHttp.urls[4],
              u"http://svc/EndUsers/visit.aspx?id=" + std::u16string(kNumber) + u"&sjs=77");
}

TEST_F(FormHandlersTest, Reminder_ReachesThePopupComponent_WithTheWindowObject) {
    fakeHttp.answer(pageWith(u"lblReminders", u"A&&&&B&&&&C&&&&D&&&&E"));
    for (int tick = 1; tick <= 7; ++tick) {
        form.Timer1_Timer();
    }
    ASSERT_EQ(automation.calls.size(), 1u);
    EXPECT_EQ(automation.createdProgIds, std::vector<std::string>{"Flarebox.DisplayMsg"});
    EXPECT_EQ(automation.calls[0].clientNumber, kNumber);
    EXPECT_EQ(automation.calls[0].arg2, 103);
    EXPECT_EQ(automation.calls[0].arg3, 50);
    EXPECT_EQ(automation.calls[0].message, u"A||||||B||||||C||||||D||||||E");
    EXPECT_EQ(automation.calls[0].window, static_cast<FormObject*>(&form));
    EXPECT_EQ(automation.liveObjects, 0);
}

TEST_F(FormHandlersTest, Reminder_WaitsWhileTheUserPresents_AndShowsOnceAtTheFirstTickAfter) {
    presence.busy = true;
    fakeHttp.answer(pageWith(u"lblReminders", u"A&&&&B&&&&C&&&&D&&&&E"));
    for (int tick = 1; tick <= 9; ++tick) {
        form.Timer1_Timer();
    }
    EXPECT_TRUE(automation.createdProgIds.empty());
    presence.busy = false;
    form.Timer1_Timer();
    ASSERT_EQ(automation.calls.size(), 1u);
    EXPECT_EQ(automation.calls[0].message, u"A||||||B||||||C||||||D||||||E");
    EXPECT_EQ(automation.calls[0].clientNumber, kNumber);
    for (int tick = 11; tick <= 13; ++tick) {
        form.Timer1_Timer();
    }
    EXPECT_EQ(automation.calls.size(), 1u);
}

}  // namespace
}  // namespace talvane::testing
