#include <gtest/gtest.h>

#include <string>

#include "platform/linux/CurlHttpClient.h"
#include "service/ServiceBaseUrl.h"
#include "startup/FormFixture.h"
#include "tests/tools/demo-service/ServiceProcess.h"

namespace talvane::testing {
namespace {

std::u16string Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

TEST(ServiceBaseUrl, DefaultsToTheDemoService_AndTakesTheEnvironmentWithoutATrailingSlash) {
    EXPECT_EQ(ServiceBaseUrlFrom(nullptr), u"http://127.0.0.1:8765");
    EXPECT_EQ(ServiceBaseUrlFrom(""), u"http://127.0.0.1:8765");
    EXPECT_EQ(ServiceBaseUrlFrom("http://seminars.example.com/"), u"http://seminars.example.com");
}

// The whole start-up over real HTTP against the demo service.
TEST_F(FormTest, FormLoad_AgainstTheDemoService_FillsAllFiveRowsAndTheFooter) {
    ServiceProcess service({"--port", "0", "--data", TALVANE_E2E_DATA});
    const auto port = service.waitUntilListening(std::chrono::seconds(10));
    ASSERT_TRUE(port.has_value()) << service.standardError();
    const std::u16string base = u"http://127.0.0.1:" + Widen(std::to_string(*port));

    CurlHttpClient realHttp;
    frmMain demoForm(FormServices{lock, window, tray, opener, profile, codePage, paths, clock,
                                  random, realHttp, automation, base});
    writeSettings("[systemsetting]\nsysNumber=000122008120509030730000\n");
    ASSERT_TRUE(demoForm.Form_Load());

    const PanelModel& model = demoForm.model();
    const RowTable& rows = demoForm.state().rows;
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(model.at(ElementName::lblList, i).caption.empty()) << "row " << i;
        EXPECT_EQ(rows.RowViewUrl[i],
                  base + u"/endusers/meeting_view.aspx?FRM=Software&EventID=E2E10" +
                      std::u16string(1, static_cast<char16_t>(u'0' + i)) +
                      u"&id=000122008120509030730000");
    }
    EXPECT_EQ(model.at(ElementName::lblList, 0).caption,
              u"端到端测试研讨会零号：网络安全基础与实践");
    EXPECT_EQ(model.at(ElementName::lblList, 2).caption.size(), 33u);  // shortened: 30 + "..."
    EXPECT_EQ(model.at(ElementName::lblReg, 0).caption, u"已报名：11人");
    EXPECT_EQ(model.at(ElementName::lblReg, 1).caption, u"状\u3000态：已结束");
    EXPECT_EQ(model.at(ElementName::lblTime, 1).caption, u"时\u3000间：2026-11-25   进入会议重现");
    EXPECT_EQ(model.at(ElementName::txtMainBottom, 2).caption, u"二号研讨会的详细信息，\n第二行。");
    EXPECT_TRUE(model.at(ElementName::imgNew, 0).visible);
    EXPECT_FALSE(model.at(ElementName::imgNew, 4).visible);
    EXPECT_EQ(model.at(ElementName::lblBottom2).caption, u"更多研讨会资料(120场)，随时点播...");
}

}  // namespace
}  // namespace talvane::testing
