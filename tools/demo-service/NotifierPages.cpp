#include "tools/demo-service/NotifierPages.h"

#include "tools/demo-service/HtmlDocument.h"

namespace talvane::demo {

namespace {

std::string spanPage(std::string_view title, std::string_view spanId, std::string_view payload) {
    std::string body = "<main>\n<form id=\"form1\">\n<span id=\"";
    body += spanId;
    body += "\">";
    body += payload;
    body += "</span>\n</form>\n</main>\n";
    return htmlDocument(title, body);
}

}  // namespace

std::string eventListPage(std::string_view payload) {
    return spanPage("研讨会列表", "lblTopics", payload);
}

std::string reminderPage(std::string_view payload) {
    return spanPage("研讨会提醒", "lblReminders", payload);
}

std::string visitPage() {
    return htmlDocument("访问记录", "<main>\n<p>访问已记录。</p>\n</main>\n");
}

}  // namespace talvane::demo
