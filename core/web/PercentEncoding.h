#pragma once

#include <string>
#include <string_view>

namespace talvane {

// The address as it goes on the wire: UTF-8, with what cannot go on the wire
// percent-encoded (controls, space, DEL, every byte of a non-ASCII
// character; an unpaired surrogate counts as U+FFFD). Everything else, '%'
// included, stays as the program built it.
std::string WireUrl(std::u16string_view url);

// A value as it goes into a query the program builds ("EventID=", "id=",
// "sysID="): what would end the value or change how it reads ('&', '#',
// '=', '+', '%'), what an address may not hold as it is (controls, blank,
// DEL, '"', '<', '>', '\', '^', '`', '{', '|', '}') become percent escapes.
// Everything else stays, so an ordinary identifier goes in unchanged and
// the page opens whatever the value holds.
std::u16string EscapeQueryValue(std::u16string_view value);

}  // namespace talvane
