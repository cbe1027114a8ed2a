#pragma once

#include <string>

#include "platform/AppPaths.h"

namespace talvane {

// The folder of the running executable, found through /proc/self/exe.
class ExecutablePaths : public AppPaths {
  public:
    // exeLink: the link that names the executable; tests point it elsewhere.
    explicit ExecutablePaths(std::string exeLink = "/proc/self/exe");

    // Empty when the link cannot be read: the program then uses only its
    // installed folders and the user's own, never the current folder,
    // where anyone may have put a settings file or a component.
    std::string applicationDirectory() const override;

    // The folder part of an absolute file name: "/usr/bin" for
    // "/usr/bin/talvane", "/" for "/talvane".
    static std::string directoryOf(const std::string& file);

  private:
    std::string exeLink_;
};

}  // namespace talvane
