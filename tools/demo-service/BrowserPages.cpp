#include "tools/demo-service/BrowserPages.h"

#include "tools/demo-service/HtmlDocument.h"

namespace talvane::demo {

namespace {

std::string row(std::string_view label, std::string_view escapedValue) {
    return "<tr><th>" + std::string(label) + "</th><td>" + std::string(escapedValue) +
           "</td></tr>\n";
}

std::string multiline(std::string_view text) {
    std::string out;
    for (char c : htmlEscape(text)) {
        if (c == '\n')
            out += "<br>";
        else
            out += c;
    }
    return out;
}

std::string shown(std::string_view value) {
    return value.empty() ? std::string("（未提供）") : htmlEscape(value);
}

std::string requestRows(const BrowserQuery& query, std::string_view clientLabel) {
    return row("来源", shown(query.from)) + row(clientLabel, shown(query.clientNumber));
}

std::string unknownSeminar(const BrowserQuery& query, std::string_view heading) {
    return "<main>\n<h1>" + std::string(heading) + "</h1>\n<p>未找到编号为“" +
           htmlEscape(query.eventId) + "”的研讨会。</p>\n<table>\n" +
           requestRows(query, "客户编号") + "</table>\n</main>\n";
}

std::string link(std::string_view path, std::string_view eventId, std::string_view client) {
    return std::string(path) + "?FRM=Portal&amp;EventID=" + urlEncode(eventId) +
           "&amp;id=" + urlEncode(client);
}

}  // namespace

std::string meetingPage(const DemoData& data, const BrowserQuery& query) {
    const Seminar* seminar = data.findSeminar(query.eventId);
    if (seminar == nullptr) return htmlDocument("研讨会详情", unknownSeminar(query, "研讨会详情"));
    std::string body = "<main>\n<h1>" + htmlEscape(seminar->title) + "</h1>\n<table>\n";
    body += row("研讨会编号", htmlEscape(seminar->id));
    body += row("时间", htmlEscape(seminar->time));
    body += row("状态", seminar->ended ? "已结束" : "报名中");
    if (!seminar->ended) body += row("已报名", htmlEscape(seminar->registrations) + " 人");
    body += row("简介", multiline(seminar->detail));
    body += requestRows(query, "客户编号");
    body += "</table>\n";
    if (seminar->ended) {
        body += "<p><a href=\"" +
                link("/endusers/WebinarPlayBack.aspx", seminar->id, query.clientNumber) +
                "\">进入会议重现</a></p>\n";
    } else {
        body += "<p class=\"note\">这是本地演示服务，报名按钮不可用。</p>\n";
    }
    body += "</main>\n";
    return htmlDocument("研讨会详情 - " + seminar->title, body);
}

std::string playbackPage(const DemoData& data, const BrowserQuery& query) {
    const Seminar* seminar = data.findSeminar(query.eventId);
    if (seminar == nullptr) return htmlDocument("会议重现", unknownSeminar(query, "会议重现"));
    std::string body = "<main>\n<h1>会议重现：" + htmlEscape(seminar->title) + "</h1>\n";
    body += "<div class=\"player\">点播内容将在此播放（演示）</div>\n<table>\n";
    body += row("研讨会编号", htmlEscape(seminar->id));
    body += row("原定时间", htmlEscape(seminar->time));
    body += row("简介", multiline(seminar->detail));
    body += requestRows(query, "客户编号");
    body += "</table>\n</main>\n";
    return htmlDocument("会议重现 - " + seminar->title, body);
}

std::string portalPage(const DemoData& data, const BrowserQuery& query) {
    std::string body = "<main>\n<h1>研讨会门户</h1>\n<p>共有 " + htmlEscape(data.footer) +
                       " 场研讨会资料，随时点播。</p>\n<table>\n";
    for (const Seminar& seminar : data.seminars) {
        const char* path =
            seminar.ended ? "/endusers/WebinarPlayBack.aspx" : "/endusers/meeting_view.aspx";
        body += row(htmlEscape(seminar.time),
                    "<a href=\"" + link(path, seminar.id, query.clientNumber) + "\">" +
                        htmlEscape(seminar.title) + "</a>" + (seminar.ended ? "（已结束）" : ""));
    }
    body += "</table>\n<table>\n" + requestRows(query, "系统编号") + "</table>\n</main>\n";
    return htmlDocument("研讨会门户", body);
}

std::string notFoundPage(std::string_view path) {
    return htmlDocument("页面不存在", "<main>\n<h1>404 页面不存在</h1>\n<p>找不到页面 " +
                                          htmlEscape(path) + "。</p>\n</main>\n");
}

}  // namespace talvane::demo
