#include "platform/windows/Win32Error.h"

#include <windows.h>

namespace talvane::win {

std::string FailureReason(const char* what) {
    const DWORD code = ::GetLastError();
    return std::string(what) + ": Windows error " + std::to_string(code);
}

}  // namespace talvane::win
