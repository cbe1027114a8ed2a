// ParseEventList on any payload: at most five rows, each either filled
// completely from its record or left exactly as it was, slot 5 never
// touched, titles shortened and drawn texts cut at 256 units without halving
// a character, URLs built from the base, the event identifier (with what
// would rewrite the address escaped) and the client number.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/EventList.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using talvane::RowTable;
using talvane::SplitAll;

constexpr std::u16string_view kBase = u"http://127.0.0.1:8765";
constexpr std::u16string_view kClient = u"unknown value";
constexpr std::u16string_view kUntouched = u"untouched";

std::u16string Concat(std::initializer_list<std::u16string_view> parts) {
    std::u16string text;
    for (const auto part : parts) text += part;
    return text;
}

// What a drawn text may keep: 256 units, 255 where the 256th opens a pair.
std::u16string_view Shown(std::u16string_view text) {
    if (text.size() <= 256) return text;
    return text.substr(0, talvane::fuzz::IsHighSurrogate(text[255]) ? 255 : 256);
}

// An identifier or client number as it goes into a query: controls, DEL, the blank and
// " # % & + < = > \ ^ ` { | } escaped, upper-case hex; the rest as it is.
std::u16string InQuery(std::u16string_view id) {
    constexpr std::u16string_view kEscaped = u" \"#%&+<=>\\^`{|}";
    constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string out;
    for (const char16_t c : id) {
        if (c < 0x20 || c == 0x7F || kEscaped.find(c) != std::u16string_view::npos) {
            out += u'%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out.push_back(c);
        }
    }
    return out;
}

void FillWithMarks(RowTable& rows) {
    for (int slot = 0; slot < RowTable::kSlots; ++slot) {
        for (auto* column : {&rows.RowTitle, &rows.RowViewUrl, &rows.RowTimeUrl,
                             &rows.RowStatusText, &rows.RowTimeText, &rows.RowDetailText}) {
            (*column)[slot] = kUntouched;
        }
        rows.RowShowNew[slot] = 7;
    }
}

bool Untouched(const RowTable& rows, int slot) {
    for (const auto* column : {&rows.RowTitle, &rows.RowViewUrl, &rows.RowTimeUrl,
                               &rows.RowStatusText, &rows.RowTimeText, &rows.RowDetailText}) {
        if ((*column)[slot] != kUntouched) return false;
    }
    return rows.RowShowNew[slot] == 7;
}

void CheckTitle(std::u16string_view shown, std::u16string_view title) {
    if (title.size() <= 32) {
        FUZZ_CHECK(shown == title);
        return;
    }
    FUZZ_CHECK(shown.ends_with(u"..."));
    const std::u16string_view kept = shown.substr(0, shown.size() - 3);
    FUZZ_CHECK(kept.size() == 30 || kept.size() == 29);
    FUZZ_CHECK(title.starts_with(kept));
    FUZZ_CHECK(kept.size() == 30 ? !talvane::fuzz::IsHighSurrogate(kept.back())
                                 : talvane::fuzz::IsHighSurrogate(title[29]));
}

void CheckRow(const RowTable& rows, int r, const std::vector<std::u16string>& fields) {
    CheckTitle(rows.RowTitle[r], fields[1]);
    const std::u16string view = Concat({kBase, u"/endusers/meeting_view.aspx?FRM=Software&EventID=",
                                        InQuery(fields[0]), u"&id=", InQuery(kClient)});
    FUZZ_CHECK(rows.RowViewUrl[r] == view);
    FUZZ_CHECK(rows.RowDetailText[r] == Shown(fields[5]));
    if (fields[3] == u"0") {
        FUZZ_CHECK(rows.RowShowNew[r] == 0);
        FUZZ_CHECK(rows.RowTimeUrl[r] ==
                   Concat({kBase, u"/endusers/WebinarPlayBack.aspx?FRM=Software&EventID=",
                           InQuery(fields[0]), u"&id=", InQuery(kClient)}));
        // The date part: ten units, or nine where the tenth opens a pair.
        const std::u16string_view time = rows.RowTimeText[r];
        constexpr std::u16string_view kPrefix = u"时　间：";
        constexpr std::u16string_view kNotice = u"   进入会议重现";
        FUZZ_CHECK(time.starts_with(kPrefix) && time.ends_with(kNotice));
        const std::u16string_view date =
            time.substr(kPrefix.size(), time.size() - kPrefix.size() - kNotice.size());
        FUZZ_CHECK(std::u16string_view(fields[2]).starts_with(date));
        FUZZ_CHECK(date.size() == std::min<std::size_t>(fields[2].size(), 10) ||
                   (date.size() == 9 && talvane::fuzz::IsHighSurrogate(fields[2][9])));
    } else {
        FUZZ_CHECK(rows.RowShowNew[r] == -1);
        FUZZ_CHECK(rows.RowTimeUrl[r] == view);
        FUZZ_CHECK(rows.RowTimeText[r] == Concat({u"时　间：", Shown(fields[2])}));
        FUZZ_CHECK(rows.RowStatusText[r] == Concat({u"已报名：", Shown(fields[4]), u"人"}));
    }
}

void CheckSplit(std::u16string_view text, std::u16string_view separator) {
    const std::vector<std::u16string> pieces = SplitAll(text, separator);
    FUZZ_CHECK(!pieces.empty());
    std::u16string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) joined += separator;
        joined += pieces[i];
        FUZZ_CHECK(pieces[i].find(separator) == std::u16string::npos);
    }
    FUZZ_CHECK(joined == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string payload = talvane::fuzz::InputText(talvane::fuzz::Bytes(data, size));
    CheckSplit(payload, u"||||");
    CheckSplit(payload, u"@@@@");
    CheckSplit(payload, u"$$$$");

    RowTable rows;
    FillWithMarks(rows);
    const talvane::EventListResult result = talvane::ParseEventList(payload, kBase, kClient, rows);

    const std::vector<std::u16string> elements = SplitAll(payload, u"||||");
    FUZZ_CHECK(result.footerCaption.has_value() == (elements.size() >= 2));
    if (result.footerCaption) {
        FUZZ_CHECK(*result.footerCaption ==
                   Concat({u"更多研讨会资料(", Shown(elements[1]), u"场)，随时点播..."}));
    }

    int filled = 0;
    const std::vector<std::u16string> records =
        elements.size() >= 3 ? SplitAll(elements[2], u"@@@@") : std::vector<std::u16string>{};
    for (int r = 0; r < RowTable::kRows; ++r) {
        std::vector<std::u16string> fields;
        if (static_cast<std::size_t>(r) < records.size()) fields = SplitAll(records[r], u"$$$$");
        if (fields.size() >= 6) {
            CheckRow(rows, r, fields);
            ++filled;
        } else {
            FUZZ_CHECK(Untouched(rows, r));
        }
    }
    FUZZ_CHECK(Untouched(rows, RowTable::kSlots - 1));
    FUZZ_CHECK(result.rowsFilled == filled);
    return 0;
}
