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

// XDG_CONFIG_HOME of this process as it stands; empty when unset.
std::string UserConfigHome();

// HOME when it is an absolute path, else the home folder of the password
// entry; empty when neither is known.
std::string UserHome();

}  // namespace talvane
