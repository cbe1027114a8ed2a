#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "fakes/FakeRandom.h"
#include "platform/linux/CurlHttpClient.h"
#include "platform/linux/IconvCodePage.h"
#include "service/EventList.h"
#include "tests/core/service/fetch/LocalHttpServer.h"

namespace talvane {
namespace {

using namespace std::chrono_literals;

// A fixture page (kept in UTF-8 so that it can be read and edited) as the
// service sends it: in GBK.
std::string GbkFixture(const std::string& name) {
    std::ifstream file(std::string(TALVANE_FETCH_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream utf8;
    utf8 << file.rdbuf();
    return IconvCodePage("GBK").fromUnicode(IconvCodePage("UTF-8").toUnicode(utf8.str()));
}

class EventListOverHttp : public ::testing::Test {
  protected:
    void Serve(const std::string& fixture) {
        server.on("/EndUsers/Clientnew.aspx",
                  [page = GbkFixture(fixture)](const httplib::Request&, httplib::Response& res) {
                      res.set_content(page, "text/html; charset=gb2312");
                  });
        server.start();
    }

    testing::LocalHttpServer server;
    CurlHttpClient http{HttpLimits{2s, 5s}};
    IconvCodePage gbk{"GBK"};
    testing::FakeRandom random{{testing::FakeRandom::drawFor(815)}};
    ServiceContext ctx{http, gbk, random, server.baseUrl()};
    std::u16string EventPayload;
    RowTable rows;
};

TEST_F(EventListOverHttp, FillsFiveRowsAndFooter_FromTheServicesGbkPage) {
    Serve("event_list_page.html");
    ClearRows(rows);
    FetchEventPayload(ctx, EventPayload);
    ASSERT_FALSE(EventPayload.empty());
    EXPECT_EQ(server.targets(), (std::vector<std::string>{"/EndUsers/Clientnew.aspx?sjs=815"}));

    const EventListResult result = ParseEventList(EventPayload, ctx.baseUrl, u"C1", rows);
    EXPECT_EQ(result.rowsFilled, 5);
    EXPECT_EQ(result.footerCaption, u"更多研讨会资料(128场)，随时点播...");

    EXPECT_EQ(rows.RowTitle[0], u"云计算平台的存储架构设计与实践");
    EXPECT_EQ(rows.RowStatusText[0], u"已报名：356人");
    EXPECT_EQ(rows.RowShowNew[0], -1);
    EXPECT_EQ(rows.RowTitle[1], u"企业网络安全防护体系建设：从边界防御到纵深防御的全面升级与运...");
    EXPECT_EQ(rows.RowTimeText[2], u"时　间：2008-12-12   进入会议重现");
    EXPECT_EQ(rows.RowTimeUrl[2], ctx.baseUrl +
                                      u"/endusers/WebinarPlayBack.aspx?FRM=Software&EventID=10224"
                                      u"&id=C1");
    EXPECT_EQ(rows.RowDetailText[4], u"结合实际案例谈运维流程的建立与改进。");
}

TEST_F(EventListOverHttp, EmptiesPayload_WhenTheSpanIsNeverClosed) {
    Serve("event_list_page_unclosed.html");
    EventPayload = u"stale";
    FetchEventPayload(ctx, EventPayload);
    EXPECT_EQ(EventPayload, u"");
}

}  // namespace
}  // namespace talvane
