#pragma once

#include <string>
#include <string_view>

namespace talvane::win {

// Paths cross the seam as std::string. On Windows those strings hold UTF-8,
// so that any file name survives; they become UTF-16 only at the Win32 call.
// Invalid UTF-8 becomes U+FFFD (the call then finds no such file).
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace talvane::win
