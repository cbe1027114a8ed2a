#pragma once

#include <string>
#include <string_view>

namespace talvane {

// An event identifier as it goes into "EventID=": the characters that would
// end the value or change how it reads ('&', '#', '=', '+', '%' and the
// blank) become percent escapes; everything else stays as it is, so an
// ordinary identifier goes in unchanged.
std::u16string EscapeEventId(std::u16string_view id);

// A query value escaped whole: every UTF-8 byte but ASCII letters, digits,
// '-', '.', '_' and '~' becomes a percent escape (a lone surrogate counts as
// U+FFFD).
std::u16string EscapeQueryValue(std::u16string_view value);

}  // namespace talvane
