#pragma once

#include <string>

namespace talvane {

class AppPaths {
public:
    virtual ~AppPaths() = default;
    // Directory of the running executable, without a trailing separator
    // (except for the root directory itself, "/").
    virtual std::string applicationDirectory() const = 0;
};

}  // namespace talvane
