#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/frmMain.h"
#include "fakes/CallLog.h"
#include "fakes/FakeAppWindow.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakePopupComponents.h"
#include "fakes/FakePresence.h"
#include "fakes/FakeRandom.h"
#include "tests/platform/PlatformSettings.h"

namespace talvane::testing {

inline std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

// The executable's directory is a fresh temporary folder per test.
class TempPaths : public AppPaths {
  public:
    TempPaths() {
        dir_ = std::filesystem::temp_directory_path() /
               ("talvane-form-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
                std::to_string(counter_++));
        std::filesystem::create_directories(dir_);
    }
    ~TempPaths() override { std::filesystem::remove_all(dir_); }
    std::string applicationDirectory() const override { return dir_.string(); }
    std::filesystem::path settingsFile() const { return dir_ / "setting.ini"; }

  private:
    std::filesystem::path dir_;
    static inline int counter_ = 0;
};

// Logs every request into the shared call log as "GET <url>".
class LoggingHttp : public HttpClient {
  public:
    LoggingHttp(FakeHttpClient& inner, CallLog& log) : inner_(inner), log_(log) {}
    FetchResult get(std::u16string_view url) override {
        log_.add("GET " + Narrow(url));
        return inner_.get(url);
    }

  private:
    FakeHttpClient& inner_;
    CallLog& log_;
};

// A record of five events in the service's format; row 1 is ended.
inline std::u16string SamplePayload() {
    std::u16string records;
    for (int i = 0; i < 5; ++i) {
        if (i > 0) records += u"@@@@";
        const std::u16string n(1, static_cast<char16_t>(u'0' + i));
        records += u"E" + n + u"$$$$标题" + n + u"$$$$2026-12-1" + n + u"(14:30-16:30)$$$$" +
                   (i == 1 ? u"0" : u"1") + u"$$$$" + n + u"00$$$$详情" + n;
    }
    return u"v1||||120||||" + records;
}

class FormTest : public ::testing::Test {
  protected:
    FormTest()
        : window(log),
          tray(log),
          clock(OfficeHoursMonday()),
          http(fakeHttp, log),
          form(FormServices{lock, window, tray, opener, profile, codePage, paths, clock, random,
                            http, automation, u"http://svc", &presence}) {}

    std::string pageWith(std::u16string_view marker, std::u16string_view payload) {
        return codePage.fromUnicode(u"<html><body><span id=\"" + std::u16string(marker) + u"\">" +
                                    std::u16string(payload) + u"</span></body></html>");
    }
    void writeSettings(const std::string& text) {
        std::ofstream(paths.settingsFile(), std::ios::binary) << text;
    }
    // Start-up with a stored client number, a visit answer and an event list.
    void load(std::u16string payload = SamplePayload()) {
        writeSettings("[systemsetting]\nsysNumber=000122008120509030730000\n");
        fakeHttp.answer("visited");
        fakeHttp.answer(pageWith(u"lblTopics", payload));
        ASSERT_TRUE(form.Form_Load());
    }

    CallLog log;
    FakeInstanceLock lock;
    FakeAppWindow window;
    FakeTray tray;
    FakeOpener opener;
    PlatformSettingsStore profile;
    PlatformCodePage codePage = GbkCodePage();
    TempPaths paths;
    FakeClock clock;
    FakeRandom random{{FakeRandom::drawFor(77)}};
    FakeHttpClient fakeHttp;
    LoggingHttp http;
    FakePopupComponents automation;
    FakePresence presence;
    frmMain form;
};

}  // namespace talvane::testing
