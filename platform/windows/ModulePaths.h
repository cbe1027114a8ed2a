#pragma once

#include <string>

#include "platform/AppPaths.h"

namespace talvane {

// The folder of the running executable, from GetModuleFileNameW, as UTF-8.
// setting.ini lives there, as it always has for the program's users, unless
// the folder is one the user cannot write (see SettingsLocation).
class ModulePaths : public AppPaths {
  public:
    ModulePaths();
    std::string applicationDirectory() const override { return directory_; }

    // The folder part of an absolute file name: "C:\Program Files\Talvane"
    // for "C:\Program Files\Talvane\talvane.exe", "C:\" for "C:\talvane.exe".
    static std::string directoryOf(const std::string& file);

  private:
    std::string directory_;
};

}  // namespace talvane
