#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/RowTable.h"
#include "service/ServiceContext.h"

namespace talvane {

// A title longer than 32 UTF-16 units becomes its first 30 units + "..."
// (29 when the 30th unit opens a surrogate pair), written back into `title`.
std::u16string getTitle(std::u16string& title);

// Empties the title, the two texts and the view URL of rows 0 to 4 and takes
// their badges away; the time URL, the detail text and slot 5 stay.
void ClearRows(RowTable& rows);

// Downloads the event-list page and sets EventPayload to its "lblTopics"
// span. A page without the marker leaves EventPayload as it was; any failure
// empties it.
void FetchEventPayload(const ServiceContext& ctx, std::u16string& EventPayload);

struct EventListResult {
    // The footer caption, set when the payload names a count.
    std::optional<std::u16string> footerCaption;
    int rowsFilled = 0;
};

// Fills rows 0 to 4 from the first five records of the payload. A record
// with fewer than six fields, or a missing record, leaves its row as it was.
// The footer count, time, status and detail texts are cut at 256 UTF-16
// units (never inside a surrogate pair); '&', '#', '=', '+', '%' and blanks
// of an event identifier go into "EventID=" as percent escapes.
EventListResult ParseEventList(std::u16string_view payload, std::u16string_view baseUrl,
                               std::u16string_view sysNumber, RowTable& rows);

// Every piece between occurrences of the separator, empty pieces included;
// an empty text is one empty piece, an empty separator leaves the text whole.
std::vector<std::u16string> SplitAll(std::u16string_view text, std::u16string_view separator);

}  // namespace talvane
