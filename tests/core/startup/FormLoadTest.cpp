#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/PanelDesign.h"
#include "startup/FormFixture.h"

namespace talvane::testing {
namespace {

TEST_F(FormTest, FormLoad_RunsEveryStepInOrder) {
    load();
    const std::vector<std::string> expected = {
        "setFrame frameless",
        "setVisibleArea 0 0 251 661 12 12",
        "moveTo 11055 80",
        "GET http://svc/EndUsers/visit.aspx?id=000122008120509030730000&sjs=77",
        "setWindowState 1",
        "tray shown 1",
        "GET http://svc/EndUsers/Clientnew.aspx?sjs=77",
        "setVisible 0",
    };
    EXPECT_EQ(log.entries, expected);
    EXPECT_EQ(window.region, (RoundRectRegion{0, 0, 251, 661, 12, 12}));
    EXPECT_EQ(window.currentFrame, (WindowFrame{false, false, true, false, true, false}));
    EXPECT_EQ(tray.tooltip, u"Talvane2.0（IT版）");
}

TEST_F(FormTest, FormLoad_LaysOutFillsAndShowsTheRows_ThenHidesTheWindow) {
    load();
    const PanelModel& model = form.model();
    EXPECT_EQ(model.at(ElementName::lblList, 0).caption, u"标题0");
    EXPECT_FLOAT_EQ(model.at(ElementName::lblList, 4).rect.top, 8100);
    EXPECT_EQ(model.at(ElementName::lblReg, 1).caption, u"状\u3000态：已结束");
    EXPECT_FALSE(model.at(ElementName::imgNew, 1).visible);
    EXPECT_TRUE(model.at(ElementName::imgNew, 2).visible);
    EXPECT_EQ(model.at(ElementName::lblBottom1).caption, u"更多研讨会资料(120场)，随时点播...");
    EXPECT_EQ(model.at(ElementName::lblBottom2).caption, u"更多研讨会资料(120场)，随时点播...");
    EXPECT_EQ(form.state().rows.RowViewUrl[3],
              u"http://svc/endusers/"
              u"meeting_view.aspx?FRM=Software&EventID=E3&id=000122008120509030730000");
    EXPECT_FALSE(window.visible);
    EXPECT_EQ(window.state, WindowState::Minimized);
    EXPECT_TRUE(tray.shown);
}

TEST_F(FormTest, FormLoad_EndsAtOnce_WhenAnEarlierInstanceRuns) {
    FakeInstanceLock earlier(true);
    frmMain second(FormServices{earlier, window, tray, opener, profile, codePage, paths, clock,
                                random, http, automation, u"http://svc"});
    writeSettings("[systemsetting]\nsysNumber=\n");
    EXPECT_FALSE(second.Form_Load());
    EXPECT_EQ(earlier.askedToShow, 1);  // the running one brings its panel forward
    EXPECT_TRUE(log.entries.empty());   // no window call, no request, no tray icon
    EXPECT_TRUE(fakeHttp.urls.empty());
    EXPECT_EQ(clock.readings, 0);  // the empty number was not replaced
    std::ifstream in(paths.settingsFile());
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "[systemsetting]\nsysNumber=\n");
}

TEST_F(FormTest, FormLoad_CompletesWithEmptyRowsAndTheDesignFooter_WhenTheServiceIsDown) {
    fakeHttp.fail();
    fakeHttp.fail();
    ASSERT_TRUE(form.Form_Load());
    EXPECT_EQ(log.entries.back(), "setVisible 0");
    // No settings file: the number stays "unknown value" and goes out with its blank.
    EXPECT_EQ(form.state().sysNumber, u"unknown value");
    EXPECT_EQ(fakeHttp.urls.front(), u"http://svc/EndUsers/visit.aspx?id=unknown value&sjs=77");
    EXPECT_FALSE(std::filesystem::exists(paths.settingsFile()));
    const PanelModel& model = form.model();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(model.at(ElementName::lblList, i).caption, u"");
        EXPECT_EQ(model.at(ElementName::lblTime, i).caption, u"");
        EXPECT_FALSE(model.at(ElementName::imgNew, i).visible);
    }
    EXPECT_EQ(model.at(ElementName::lblBottom1).caption, kFooterDesignCaption);
}

TEST_F(FormTest, FormLoad_GeneratesAndStoresANumber_WhenTheStoredOneIsEmpty) {
    writeSettings("; kept\n[systemsetting]\nsysNumber=\n");
    clock.set({2008, 12, 5, 9, 3, 7, 5});
    ASSERT_TRUE(form.Form_Load());
    EXPECT_EQ(form.state().sysNumber, u"000772008120509030700077");
    std::ifstream in(paths.settingsFile());
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "; kept\n[systemsetting]\nsysNumber=000772008120509030700077\n");
}

}  // namespace
}  // namespace talvane::testing
