#pragma once

#include <string>
#include <string_view>

namespace talvane::demo {

// UTF-8 in, GBK out. A character that GBK cannot hold, and any byte that is
// not valid UTF-8, becomes one '?', so a page is always served whole.
std::string utf8ToGbk(std::string_view utf8);

}  // namespace talvane::demo
