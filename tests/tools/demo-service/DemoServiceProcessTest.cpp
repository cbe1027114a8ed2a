#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/tools/demo-service/GbkDecode.h"
#include "tests/tools/demo-service/ServiceProcess.h"

namespace talvane::testing {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos;) {
        pieces.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

// Cut as the notifier cuts: two characters after the marker up to the next
// "</span>"; nullopt when the marker is missing.
std::optional<std::string> spanText(const std::string& page, const std::string& marker) {
    const auto at = page.find(marker);
    if (at == std::string::npos) return std::nullopt;
    const auto end = page.find("</span>", at + 2);
    if (end == std::string::npos) return std::nullopt;
    return page.substr(at + marker.size() + 2, end - at - marker.size() - 2);
}

class DemoServiceProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        logPath_ = std::filesystem::temp_directory_path() /
                   ("demo-service-test-" + std::to_string(getpid()) + ".log");
        std::filesystem::remove(logPath_);
        service_ = std::make_unique<ServiceProcess>(std::vector<std::string>{
            "--port", "0", "--data", TALVANE_DEMO_TEST_DATA, "--log", logPath_.string()});
        const auto port = service_->waitUntilListening(5s);
        ASSERT_TRUE(port.has_value()) << service_->standardError();
        client_ = std::make_unique<httplib::Client>("127.0.0.1", *port);
    }
    void TearDown() override { std::filesystem::remove(logPath_); }

    // The body decoded from GBK, after checking status and content type.
    std::string page(const std::string& target, int status = 200) {
        auto result = client_->Get(target);
        if (!result) return "<no answer>";
        EXPECT_EQ(result->status, status) << target;
        EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=gbk");
        return gbkToUtf8(result->body);
    }

    std::string logFile() const {
        std::ifstream file(logPath_);
        std::stringstream content;
        content << file.rdbuf();
        return content.str();
    }

    std::filesystem::path logPath_;
    std::unique_ptr<ServiceProcess> service_;
    std::unique_ptr<httplib::Client> client_;
};

TEST_F(DemoServiceProcess, EventListPage_CarriesEveryFieldInTheTopicsSpan) {
    const std::string body = page("/EndUsers/Clientnew.aspx?sjs=123");
    ASSERT_NE(body.find("<span id=\"lblTopics\">"), std::string::npos);
    const auto payload = spanText(body, "lblTopics");
    ASSERT_TRUE(payload.has_value());

    const auto elements = split(*payload, "||||");
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0], "T1");
    EXPECT_EQ(elements[1], "42");
    const auto records = split(elements[2], "@@@@");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(split(records[0], "$$$$"),
              (std::vector<std::string>{"A1", "第一场：云计算入门", "2026-12-12(14:30-16:30)", "1",
                                        "12", "第一行\n第二行"}));
    // The emoji has no GBK form.
    EXPECT_EQ(split(records[1], "$$$$"),
              (std::vector<std::string>{"B2", "第二场 ? 表情", "2026-11-01(09:00-10:00)", "0", "5",
                                        "已结束"}));
}

TEST_F(DemoServiceProcess, ReminderPage_ServesTurnsInFileOrder_ThenStartsAgain) {
    std::vector<std::optional<std::string>> served;
    for (int i = 0; i < 4; ++i) {
        served.push_back(
            spanText(page("/EndUsers/ClientReminderNew.aspx?id=x&sjs=" + std::to_string(i)),
                     "lblReminders"));
    }
    const std::string first =
        "提醒一&&&&2026-12-12 14:30&&&&一个超过十六个字符的很长很长的研讨会名称&&&&A1&&&&备注";
    EXPECT_EQ(served[0], first);
    EXPECT_EQ(served[1], "");
    EXPECT_EQ(served[2], "提醒二&&&&2026-12-13 09:00&&&&短名&&&&B2&&&&再见");
    EXPECT_EQ(served[3], first);
}

TEST_F(DemoServiceProcess, RequestLog_HoldsTheRawTarget_InFileAndOnStandardOutput) {
    page("/EndUsers/visit.aspx?id=unknown%20value&sjs=123");
    page("/EndUsers/visit.aspx?id=2&sjs=7");
    const std::regex line(
        R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d GET /EndUsers/visit\.aspx\?id=unknown%20value&sjs=123\n)"
        R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d GET /EndUsers/visit\.aspx\?id=2&sjs=7\n)");
    EXPECT_TRUE(std::regex_match(logFile(), line)) << logFile();
    service_->signal(SIGTERM);
    ASSERT_EQ(service_->waitForExit(5s), 0);
    EXPECT_NE(
        service_->standardOutput().find("GET /EndUsers/visit.aspx?id=unknown%20value&sjs=123\n"),
        std::string::npos);
}

TEST_F(DemoServiceProcess, UnknownPaths_WrongCaseAndOtherMethods_Get404Page) {
    for (const char* target : {"/endusers/Clientnew.aspx?sjs=1", "/EndUsers/meeting_view.aspx", "/",
                               "/EndUsers/visit.aspx/extra"}) {
        EXPECT_NE(page(target, 404).find("404"), std::string::npos) << target;
    }
    const auto posted = client_->Post("/EndUsers/visit.aspx", "x", "text/plain");
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->status, 404);
    EXPECT_NE(gbkToUtf8(posted->body).find("页面不存在"), std::string::npos);
}

TEST_F(DemoServiceProcess, BrowserPages_ShowWhatWasAskedFor_WithQueryValuesEscaped) {
    const std::string meeting =
        page("/endusers/meeting_view.aspx?FRM=Software&EventID=A1&id=%3Cb%3Eme");
    EXPECT_NE(meeting.find("第一场：云计算入门"), std::string::npos);
    EXPECT_NE(meeting.find("&lt;b&gt;me"), std::string::npos);
    EXPECT_EQ(meeting.find("<b>me"), std::string::npos);

    const std::string replay = page("/endusers/WebinarPlayBack.aspx?FRM=Software&EventID=B2&id=1");
    EXPECT_NE(replay.find("会议重现：第二场 ? 表情"), std::string::npos);
    EXPECT_NE(page("/endusers/WebinarPlayBack.aspx?EventID=ZZ").find("未找到编号为“ZZ”"),
              std::string::npos);

    const std::string portal = page("/endusers/Index.aspx?FRM=Software&sysID=unknown%20value");
    EXPECT_NE(portal.find("共有 42 场"), std::string::npos);
    EXPECT_NE(portal.find("EventID=A1&amp;id=unknown%20value"), std::string::npos);
}

TEST(DemoServiceLifecycle, StopsWithExitZero_OnSigtermAndSigint) {
    for (int signal : {SIGTERM, SIGINT}) {
        ServiceProcess service({"--port", "0", "--data", TALVANE_DEMO_TEST_DATA});
        ASSERT_TRUE(service.waitUntilListening(5s).has_value());
        service.signal(signal);
        EXPECT_EQ(service.waitForExit(5s), 0) << "signal " << signal;
    }
}

TEST(DemoServiceLifecycle, RefusesToStart_OnBadOptionsBusyPortOrMissingData) {
    ServiceProcess unknown({"--verbose"});
    EXPECT_EQ(unknown.waitForExit(5s), 2);
    EXPECT_EQ(unknown.standardError(),
              "talvane-demo-service: unknown option '--verbose' (see --help)\n");

    ServiceProcess badPort({"--port", "65536"});
    EXPECT_EQ(badPort.waitForExit(5s), 2);

    ServiceProcess first({"--port", "0", "--data", TALVANE_DEMO_TEST_DATA});
    const auto port = first.waitUntilListening(5s);
    ASSERT_TRUE(port.has_value());
    ServiceProcess second({"--port", std::to_string(*port), "--data", TALVANE_DEMO_TEST_DATA});
    EXPECT_EQ(second.waitForExit(5s), 1);
    EXPECT_EQ(second.standardError(),
              "talvane-demo-service: cannot listen on 127.0.0.1:" + std::to_string(*port) + "\n");

    ServiceProcess missingData({"--port", "0", "--data", "/nonexistent/demo-data.txt"});
    EXPECT_EQ(missingData.waitForExit(5s), 1);
    EXPECT_NE(missingData.standardError().find("cannot read /nonexistent/demo-data.txt"),
              std::string::npos);
}

}  // namespace
}  // namespace talvane::testing
