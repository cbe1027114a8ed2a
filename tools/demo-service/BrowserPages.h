#pragma once

#include <string>
#include <string_view>

#include "tools/demo-service/DemoData.h"

namespace talvane::demo {

// What a browser asked for, as decoded from the query.
struct BrowserQuery {
    std::string from;          // FRM
    std::string eventId;       // EventID
    std::string clientNumber;  // id, or sysID on the portal
};

// The pages the panel's links open, UTF-8. Every value from the query is
// escaped: these pages echo what a link carried.
std::string meetingPage(const DemoData& data, const BrowserQuery& query);
std::string playbackPage(const DemoData& data, const BrowserQuery& query);
std::string portalPage(const DemoData& data, const BrowserQuery& query);
std::string notFoundPage(std::string_view path);

}  // namespace talvane::demo
