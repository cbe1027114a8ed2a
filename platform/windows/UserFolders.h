#pragma once

#include <string>

namespace talvane {

// True when this process may create files in the folder: a file is made
// and removed again, since only the system's own access check (folder
// permissions, a read-only share, redirection) knows the answer.
bool IsWritableFolder(const std::string& folder);

// %LOCALAPPDATA%\Talvane as UTF-8: each user's own place for the settings
// of a copy in a folder the user cannot write (Program Files). Empty when
// the system names no such folder.
std::string UserSettingsFolder();

}  // namespace talvane
