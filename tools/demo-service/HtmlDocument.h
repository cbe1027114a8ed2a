#pragma once

#include <string>
#include <string_view>

namespace talvane::demo {

// Text for element content and quoted attribute values.
std::string htmlEscape(std::string_view text);

// One query value for a link; unreserved characters stay as they are.
std::string urlEncode(std::string_view text);

// A whole page that declares GBK; title and body are UTF-8, title unescaped.
std::string htmlDocument(std::string_view title, std::string_view body);

}  // namespace talvane::demo
