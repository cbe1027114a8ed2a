#pragma once

#include <string>

namespace talvane {

// Where the program's files are, decided by the platform once at start-up.
class AppPaths {
  public:
    virtual ~AppPaths() = default;
    // Folder of the running executable, absolute, without a trailing
    // separator (except for a root folder itself). Empty when it cannot be
    // found: nothing is then looked up relative to the current folder.
    virtual std::string applicationDirectory() const = 0;
    // Folder that holds setting.ini: the executable's own unless the platform
    // chose the user's configuration folder.
    virtual std::string settingsDirectory() const { return applicationDirectory(); }
};

}  // namespace talvane
