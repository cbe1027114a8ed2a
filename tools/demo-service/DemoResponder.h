#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <string>

#include "tools/demo-service/DemoData.h"

namespace talvane::demo {

inline constexpr const char* kPageContentType = "text/html; charset=gbk";

struct DemoRequest {
    std::string path;                               // decoded, case kept
    std::multimap<std::string, std::string> query;  // decoded values
};

struct DemoResponse {
    int status = 200;
    std::string body;  // GBK
};

// Chooses and renders the answer to one GET. Safe to call from the server's
// worker threads at the same time.
class DemoResponder {
  public:
    explicit DemoResponder(DemoData data);

    DemoResponse respond(const DemoRequest& request);

  private:
    // Reminders are handed out in file order, one per reminder request from
    // any client, starting again after the last: what a poll gets depends
    // only on how many polls came before it.
    std::string nextReminderPayload();

    const DemoData data_;
    std::mutex reminderMutex_;
    std::size_t nextReminder_ = 0;
};

}  // namespace talvane::demo
