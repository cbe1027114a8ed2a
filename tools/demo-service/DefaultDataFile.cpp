#include "tools/demo-service/DefaultDataFile.h"

#include <filesystem>
#include <system_error>

namespace talvane::demo {

std::optional<std::string> defaultDataFile() {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path beside = executable.parent_path() / kDataFileName;
        if (fs::is_regular_file(beside, error)) return beside.string();
    }
    const fs::path source = fs::path(TALVANE_DEMO_SOURCE_DIR) / kDataFileName;
    if (fs::is_regular_file(source, error)) return source.string();
    return std::nullopt;
}

}  // namespace talvane::demo
