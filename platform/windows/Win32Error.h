#pragma once

#include <string>

namespace talvane::win {

// "what: Windows error N" for a failed call, from GetLastError(). The
// system's own message text would come in the user's language and code
// page; the number is what a log reader can look up.
std::string FailureReason(const char* what);

}  // namespace talvane::win
