#pragma once

#include <optional>
#include <string>

namespace talvane::demo {

inline constexpr const char* kDataFileName = "demo-data.txt";

// The data file used without --data: the copy beside the executable (the
// build refreshes it from the source folder), else the one in the source
// folder this program was built from.
std::optional<std::string> defaultDataFile();

}  // namespace talvane::demo
