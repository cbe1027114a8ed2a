#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace talvane::testing {

// A fresh directory under the system's temporary folder, removed with all
// it holds when the object goes.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "talvane-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
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

inline std::string TestData(const std::string& name) {
    return ReadBytes(std::string(TALVANE_SETTINGS_TEST_DATA) + "/" + name);
}

}  // namespace talvane::testing
