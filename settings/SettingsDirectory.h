#pragma once

#include <string>

namespace talvane {

// True when path is a directory this process may create files in. Asks the
// kernel (access with W_OK), so a read-only mount or a missing search
// permission counts as well as the mode bits.
bool IsWritableDirectory(const std::string& path);

// Makes sure the folder exists, creating every missing level with mode 0700
// (the settings are the user's own). False when it cannot be made or a
// level is not a directory. An existing folder is left as it is.
bool CreateSettingsDirectory(const std::string& path);

}  // namespace talvane
