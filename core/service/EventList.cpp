#include "service/EventList.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "service/PageFetch.h"
#include "service/Utf16Text.h"
#include "web/ServicePages.h"

namespace talvane {

namespace {

constexpr std::u16string_view kElementSeparator = u"||||";
constexpr std::u16string_view kRecordSeparator = u"@@@@";
constexpr std::u16string_view kFieldSeparator = u"$$$$";
constexpr std::size_t kFieldsPerRecord = 6;
// Level-1 element 1 is the count and element 2 holds the records; nothing
// after them is used, so nothing after them is split.
constexpr std::size_t kElementsUsed = 3;
// The footer count and the row texts are laid out again on every paint; a
// service must not be able to make each repaint lay out megabytes. No real
// text comes near this.
constexpr std::size_t kLongestShownText = 256;

constexpr std::u16string_view kFooterBefore = u"更多研讨会资料(";
constexpr std::u16string_view kFooterAfter = u"场)，随时点播...";
constexpr std::u16string_view kEndedStatus = u"状　态：已结束";
constexpr std::u16string_view kTimePrefix = u"时　间：";
constexpr std::u16string_view kReplayNotice = u"   进入会议重现";
constexpr std::u16string_view kRegisteredBefore = u"已报名：";
constexpr std::u16string_view kRegisteredAfter = u"人";

std::u16string Join(std::initializer_list<std::u16string_view> parts) {
    std::u16string text;
    for (const auto part : parts) text.append(part);
    return text;
}

void FillRow(const std::vector<std::u16string_view>& fields, std::u16string_view baseUrl,
             std::u16string_view sysNumber, RowTable& rows, int r) {
    const std::u16string_view eventId = fields[0];
    std::u16string title(fields[1]);
    const std::u16string_view timeText = LeadingUnits(fields[2], kLongestShownText);

    rows.RowTitle[r] = getTitle(title);
    rows.RowViewUrl[r] = EventPageAddress(baseUrl, eventId, sysNumber);
    if (fields[3] == u"0") {
        rows.RowShowNew[r] = 0;
        rows.RowStatusText[r] = kEndedStatus;
        rows.RowTimeText[r] = Join({kTimePrefix, LeadingUnits(timeText, 10), kReplayNotice});
        rows.RowTimeUrl[r] = ReplayPageAddress(baseUrl, eventId, sysNumber);
    } else {
        rows.RowTimeText[r] = Join({kTimePrefix, timeText});
        rows.RowShowNew[r] = -1;
        rows.RowStatusText[r] =
            Join({kRegisteredBefore, LeadingUnits(fields[4], kLongestShownText), kRegisteredAfter});
        rows.RowTimeUrl[r] = rows.RowViewUrl[r];
    }
    rows.RowDetailText[r] = std::u16string(LeadingUnits(fields[5], kLongestShownText));
}

}  // namespace

std::u16string getTitle(std::u16string& title) {
    if (title.size() > 32) {
        title = Join({LeadingUnits(title, 30), u"..."});
    }
    return title;
}

void ClearRows(RowTable& rows) {
    for (int r = 0; r < RowTable::kRows; ++r) {
        rows.RowTitle[r].clear();
        rows.RowViewUrl[r].clear();
        rows.RowStatusText[r].clear();
        rows.RowTimeText[r].clear();
        rows.RowShowNew[r] = 0;
    }
}

void FetchEventPayload(const ServiceContext& ctx, std::u16string& EventPayload) {
    const std::u16string url = Join(
        {ctx.baseUrl, u"/EndUsers/Clientnew.aspx?sjs=", DecimalText(NewCacheBuster(ctx.random))});
    const PageResult page = FetchPage(ctx.http, ctx.codePage, url);
    if (!page.ok()) {
        EventPayload.clear();
        return;
    }
    SpanResult span = ExtractSpanText(page.text, u"lblTopics");
    switch (span.status) {
        case SpanResult::Status::NotFound:
            return;
        case SpanResult::Status::Error:
            EventPayload.clear();
            return;
        case SpanResult::Status::Found:
            EventPayload = std::move(span.text);
            return;
    }
}

EventListResult ParseEventList(std::u16string_view payload, std::u16string_view baseUrl,
                               std::u16string_view sysNumber, RowTable& rows) {
    EventListResult result;
    // Only the pieces that are used are cut out, as views into the payload:
    // a payload of megabytes of separators must not turn into millions of
    // strings.
    const std::vector<std::u16string_view> elements =
        LeadingPieces(payload, kElementSeparator, kElementsUsed);
    // The count stands on its own: the footer shows it even when the records
    // that follow are broken, as long as the payload names one at all.
    if (elements.size() >= 2) {
        result.footerCaption =
            Join({kFooterBefore, LeadingUnits(elements[1], kLongestShownText), kFooterAfter});
    }
    if (elements.size() < kElementsUsed) return result;

    const std::vector<std::u16string_view> records =
        LeadingPieces(elements[2], kRecordSeparator, RowTable::kRows);
    for (int r = 0; r < RowTable::kRows && static_cast<std::size_t>(r) < records.size(); ++r) {
        const std::vector<std::u16string_view> fields =
            LeadingPieces(records[r], kFieldSeparator, kFieldsPerRecord);
        // A short record would show a half-filled row: leave it as cleared.
        if (fields.size() < kFieldsPerRecord) continue;
        FillRow(fields, baseUrl, sysNumber, rows, r);
        ++result.rowsFilled;
    }
    return result;
}

std::vector<std::u16string> SplitAll(std::u16string_view text, std::u16string_view separator) {
    std::vector<std::u16string> pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t from = 0;
    for (std::size_t at = text.find(separator); at != std::u16string_view::npos;
         at = text.find(separator, from)) {
        pieces.emplace_back(text.substr(from, at - from));
        from = at + separator.size();
    }
    pieces.emplace_back(text.substr(from));
    return pieces;
}

}  // namespace talvane
