#include <gtest/gtest.h>

#include <string>

#include "service/Reminders.h"
#include "tests/fakes/FakeHttp.h"
#include "tests/fakes/FakePopupComponents.h"
#include "tests/fakes/FakePresence.h"
#include "tests/fakes/FakeRandom.h"
#include "tests/fakes/FakeWindow.h"

namespace talvane {
namespace {

using testing::FakeHttpClient;
using testing::FakePopupComponents;
using testing::FakePresence;
using testing::FakeRandom;
using testing::FakeWindow;

// Bytes 0-255 as the code units of the same value: enough for ASCII pages.
class ByteCodePage : public CodePage {
  public:
    std::u16string toUnicode(std::string_view bytes) const override {
        std::u16string text;
        for (const char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
        return text;
    }
    std::string fromUnicode(std::u16string_view text) const override {
        std::string bytes;
        for (const char16_t c : text) bytes += c < 0x100 ? static_cast<char>(c) : '?';
        return bytes;
    }
};

std::string pageWith(const std::string& span) {
    return "<html><body><span id=\"lblReminders\">" + span + "</span></body></html>";
}

class CheckRemindersTest : public ::testing::Test {
  protected:
    FakeHttpClient http;
    ByteCodePage codePage;
    FakeRandom random{{FakeRandom::drawFor(1234), FakeRandom::drawFor(7)}};
    ServiceContext ctx{http, codePage, random, u"http://127.0.0.1:8765"};
    FakePopupComponents automation;
    FakeWindow window;
    const std::u16string sysNumber = u"unknown value";

    ReminderOutcome poll() { return CheckReminders(ctx, sysNumber, automation, &window); }
};

TEST_F(CheckRemindersTest, HandsTheReminderToANewComponentObject) {
    http.answer(pageWith("Title&&&&10:00&&&&Webinar on tray icons&&&&Body&&&&http://x/1"));
    EXPECT_EQ(poll(), ReminderOutcome::Shown);

    ASSERT_EQ(http.urls.size(), 1u);
    EXPECT_EQ(http.urls[0],
              u"http://127.0.0.1:8765/EndUsers/ClientReminderNew.aspx?id=unknown value&sjs=1234");
    EXPECT_EQ(automation.createdProgIds, std::vector<std::string>{"Flarebox.DisplayMsg"});
    ASSERT_EQ(automation.calls.size(), 1u);
    const auto& call = automation.calls[0];
    EXPECT_EQ(call.clientNumber, u"unknown value");
    EXPECT_EQ(call.arg2, 103);
    EXPECT_EQ(call.arg3, 50);
    EXPECT_EQ(call.message, u"Title||||||10:00||||||Webinar on tray...||||||Body||||||http://x/1");
    EXPECT_EQ(call.window, &window);
    EXPECT_EQ(automation.liveObjects, 0);
}

TEST_F(CheckRemindersTest, EveryPollDrawsItsOwnCacheBuster_AndPassesTheSameNumber) {
    http.answer(pageWith("a&&&&b&&&&c&&&&d&&&&e"));
    http.answer(pageWith("a&&&&b&&&&c&&&&d&&&&e"));
    EXPECT_EQ(poll(), ReminderOutcome::Shown);
    EXPECT_EQ(poll(), ReminderOutcome::Shown);
    ASSERT_EQ(http.urls.size(), 2u);
    EXPECT_EQ(http.urls[1],
              u"http://127.0.0.1:8765/EndUsers/ClientReminderNew.aspx?id=unknown value&sjs=7");
    EXPECT_EQ(automation.calls[1].clientNumber, u"unknown value");
    EXPECT_EQ(automation.calls[1].window, &window);
}

TEST_F(CheckRemindersTest, DropsShortTextsBeforeAnyComponentIsCreated) {
    http.answer(pageWith("123456789"));       // 9 characters
    http.answer(pageWith("&&&&&&&&&&&&"));    // 12 characters, four elements
    http.answer(pageWith("a&&&&b&&&&c&&&"));  // 14 characters
    http.answer(pageWith("0123456789"));      // 10 characters, one element
    EXPECT_EQ(poll(), ReminderOutcome::TooShort);
    EXPECT_EQ(poll(), ReminderOutcome::TooFewElements);
    EXPECT_EQ(poll(), ReminderOutcome::TooFewElements);
    EXPECT_EQ(poll(), ReminderOutcome::TooFewElements);
    EXPECT_TRUE(automation.createdProgIds.empty());
}

TEST_F(CheckRemindersTest, EndsQuietlyOnEveryFetchAndCutFailure) {
    http.fail();
    http.fail(FetchResult::Status::TimedOut);
    http.answer("<span id=\"lblTopics\">a&&&&b&&&&c&&&&d&&&&e</span>");
    http.answer("<span id=\"LBLREMINDERS\">a&&&&b&&&&c&&&&d&&&&e</span>");
    http.answer("<span id=\"lblReminders\">a&&&&b&&&&c&&&&d&&&&e");
    http.answer("");
    EXPECT_EQ(poll(), ReminderOutcome::FetchFailed);
    EXPECT_EQ(poll(), ReminderOutcome::FetchFailed);
    EXPECT_EQ(poll(), ReminderOutcome::NotFound);
    EXPECT_EQ(poll(), ReminderOutcome::NotFound);
    EXPECT_EQ(poll(), ReminderOutcome::CutFailed);
    EXPECT_EQ(poll(), ReminderOutcome::NotFound);
    EXPECT_TRUE(automation.createdProgIds.empty());
}

TEST_F(CheckRemindersTest, EndsQuietlyWhenTheComponentIsMissingOrItsCallFails) {
    http.answer(pageWith("a&&&&b&&&&c&&&&d&&&&e"));
    http.answer(pageWith("a&&&&b&&&&c&&&&d&&&&e"));
    automation.installed = false;
    EXPECT_EQ(poll(), ReminderOutcome::ComponentMissing);
    EXPECT_TRUE(automation.calls.empty());

    automation.installed = true;
    automation.callFails = true;
    EXPECT_EQ(poll(), ReminderOutcome::ComponentFailed);
    EXPECT_EQ(automation.calls.size(), 1u);
    EXPECT_EQ(automation.liveObjects, 0);
}

TEST_F(CheckRemindersTest, HoldsTheNewestReminderWhileTheUserIsBusy_AndReleasesItOnce) {
    FakePresence presence;
    ReminderHold hold(presence);
    presence.busy = true;
    http.answer(pageWith("old&&&&b&&&&c&&&&d&&&&e"));
    http.answer(pageWith("new&&&&b&&&&c&&&&d&&&&e"));
    EXPECT_EQ(CheckReminders(ctx, sysNumber, automation, &window, &hold), ReminderOutcome::Held);
    EXPECT_EQ(CheckReminders(ctx, sysNumber, automation, &window, &hold), ReminderOutcome::Held);
    EXPECT_TRUE(automation.createdProgIds.empty());
    EXPECT_EQ(hold.release(), std::nullopt);  // still busy

    presence.busy = false;
    EXPECT_EQ(hold.release(), u"new&&&&b&&&&c&&&&d&&&&e");
    EXPECT_EQ(hold.release(), std::nullopt);
    // Free again: a poll shows at once and leaves nothing waiting.
    http.answer(pageWith("now&&&&b&&&&c&&&&d&&&&e"));
    EXPECT_EQ(CheckReminders(ctx, sysNumber, automation, &window, &hold), ReminderOutcome::Shown);
    EXPECT_EQ(hold.release(), std::nullopt);
}

}  // namespace
}  // namespace talvane
