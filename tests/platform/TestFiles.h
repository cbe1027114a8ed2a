#pragma once

#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace talvane::testing {

// Paths in the tests are UTF-8, as the seam's paths are on every platform;
// a narrow std::string path would be read in the ANSI code page on Windows.
inline std::filesystem::path PathOf(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// A fresh directory under the system's temporary folder, removed with all
// it holds when the object goes. Standard C++ only: the tests of the core
// and the contract suites also run on Windows.
class TempDir {
  public:
    TempDir() {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        const auto temporary = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 1000 && path_.empty(); ++attempt) {
            // A name someone else took (a folder, a planted link) is skipped.
            const auto candidate = temporary / ("talvane-" + std::to_string(stamp + attempt));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                const std::u8string text = candidate.u8string();
                path_.assign(text.begin(), text.end());
            }
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(PathOf(path_), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(PathOf(path_), ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Anything at all under that name, a dangling link included.
inline bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(PathOf(path), error));
}

// Key lines of a filler section, at least `bytes` long.
inline std::string FillerLines(std::size_t bytes) {
    std::string block;
    for (int i = 0; block.size() < 65536; ++i) block += "key" + std::to_string(i) + "=value\n";
    std::string lines;
    lines.reserve(bytes + block.size());
    while (lines.size() < bytes) lines += block;
    return lines;
}

#ifdef TALVANE_SETTINGS_TEST_DATA
inline std::string TestData(const std::string& name) {
    return ReadBytes(std::string(TALVANE_SETTINGS_TEST_DATA) + "/" + name);
}
#endif

}  // namespace talvane::testing
