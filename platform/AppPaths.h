#pragma once

#include <string>

namespace talvane {

class AppPaths {
  public:
    virtual ~AppPaths() = default;
    // Directory of the running executable, without a trailing separator
    // (except for the root directory itself, "/").
    virtual std::string applicationDirectory() const = 0;
    // Directory that holds setting.ini: the executable's own unless the
    // program chose another place at start-up.
    virtual std::string settingsDirectory() const { return applicationDirectory(); }
};

}  // namespace talvane
