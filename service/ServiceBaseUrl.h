#pragma once

#include <string>

namespace talvane {

inline constexpr char16_t kDefaultServiceBaseUrl[] = u"http://127.0.0.1:8765";

// The value of TALVANE_SERVICE_URL (read by the program's composition) when
// it is set and not empty, else the default; a trailing '/' is dropped
// because every path begins with one.
std::u16string ServiceBaseUrlFrom(const char* environmentValue);

}  // namespace talvane
