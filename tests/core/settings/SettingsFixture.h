#pragma once

#include <string>

#include "platform/AppPaths.h"
#include "settings/mdlINI.h"
#include "tests/platform/PlatformSettings.h"
#include "tests/platform/TestFiles.h"

namespace talvane::testing {

class FixedPaths : public AppPaths {
  public:
    explicit FixedPaths(std::string directory) : directory_(std::move(directory)) {}
    std::string applicationDirectory() const override { return directory_; }

  private:
    std::string directory_;
};

// The real settings stack (INI file, GBK) over a fresh folder that stands
// in for the executable's.
struct SettingsFixture {
    TempDir dir;
    FixedPaths paths{dir.path()};
    PlatformSettingsStore profile;
    PlatformCodePage codePage;
    SettingsContext ctx{profile, codePage, paths};

    std::string file() const { return dir.file("setting.ini"); }
    void store(const std::string& bytes) const { WriteBytes(file(), bytes); }
    std::string stored() const { return ReadBytes(file()); }
};

}  // namespace talvane::testing
