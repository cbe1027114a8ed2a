#pragma once

#include <string>

#include "platform/AppPaths.h"

namespace talvane {

// The folder of the running executable, found through /proc/self/exe.
class ExecutablePaths : public AppPaths {
  public:
    // exeLink: the link that names the executable; tests point it elsewhere.
    explicit ExecutablePaths(std::string exeLink = "/proc/self/exe");

    // "." when the link cannot be read, so that the settings file is looked
    // for in the current folder rather than at the root.
    std::string applicationDirectory() const override;

    // The folder part of an absolute file name: "/usr/bin" for
    // "/usr/bin/talvane", "/" for "/talvane".
    static std::string directoryOf(const std::string& file);

  private:
    std::string exeLink_;
};

}  // namespace talvane
