#include "tools/demo-service/DemoResponder.h"

#include "tools/demo-service/BrowserPages.h"
#include "tools/demo-service/GbkText.h"
#include "tools/demo-service/NotifierPages.h"
#include "tools/demo-service/ServicePayloads.h"

namespace talvane::demo {

namespace {

std::string firstValue(const DemoRequest& request, const std::string& key) {
    const auto found = request.query.find(key);
    return found == request.query.end() ? std::string() : found->second;
}

BrowserQuery browserQuery(const DemoRequest& request, const std::string& clientKey) {
    return {firstValue(request, "FRM"), firstValue(request, "EventID"),
            firstValue(request, clientKey)};
}

}  // namespace

DemoResponder::DemoResponder(DemoData data) : data_(std::move(data)) {}

std::string DemoResponder::nextReminderPayload() {
    std::lock_guard lock(reminderMutex_);
    if (data_.reminders.empty()) return {};
    const Reminder& reminder = data_.reminders[nextReminder_];
    nextReminder_ = (nextReminder_ + 1) % data_.reminders.size();
    return reminderPayload(reminder);
}

DemoResponse DemoResponder::respond(const DemoRequest& request) {
    // Paths compare exactly: the notifier sends "/EndUsers/" for what it
    // downloads and "/endusers/" for what it opens in a browser.
    const std::string& path = request.path;
    std::string page;
    if (path == "/EndUsers/Clientnew.aspx") {
        page = eventListPage(eventListPayload(data_));
    } else if (path == "/EndUsers/ClientReminderNew.aspx") {
        page = reminderPage(nextReminderPayload());
    } else if (path == "/EndUsers/visit.aspx") {
        page = visitPage();
    } else if (path == "/endusers/meeting_view.aspx") {
        page = meetingPage(data_, browserQuery(request, "id"));
    } else if (path == "/endusers/WebinarPlayBack.aspx") {
        page = playbackPage(data_, browserQuery(request, "id"));
    } else if (path == "/endusers/Index.aspx") {
        page = portalPage(data_, browserQuery(request, "sysID"));
    } else {
        return {404, utf8ToGbk(notFoundPage(path))};
    }
    return {200, utf8ToGbk(page)};
}

}  // namespace talvane::demo
