#pragma once

#include <string>
#include <string_view>

namespace talvane {

struct SettingRead {
    enum class Status { Found, Missing, Failed };
    Status status = Status::Missing;
    std::string value;   // when Found: the stored bytes, outer quotes removed
    std::string reason;  // when Failed
};

struct SettingWrite {
    enum class Status { Written, Failed };
    Status status = Status::Failed;
    std::string reason;  // when Failed
    bool written() const { return status == Status::Written; }
};

// An INI file read and written the way the system's profile functions do it:
// names and values are bytes in the ANSI code page, section and key names
// match without regard to ASCII case, ';' starts a comment line. Files are
// named by absolute paths in the file system's own encoding.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // Missing when the file, the section or the key is not there. A value
    // longer than maxBytes is cut there, never inside a double-byte
    // character. Never creates anything.
    virtual SettingRead read(const std::string& file, std::string_view section,
                             std::string_view key, std::size_t maxBytes) const = 0;

    // Creates file, section and key as needed, replaces an existing value
    // and keeps every other byte of the file. A failed write leaves the old
    // file as it was. Names or values holding a line break or NUL are
    // refused (they would add lines to the file).
    virtual SettingWrite write(const std::string& file, std::string_view section,
                               std::string_view key, std::string_view value) = 0;

    // True when anything at all stands under that name.
    virtual bool exists(const std::string& path) const = 0;

    // Makes the folder and every missing parent, private to the user. An
    // existing folder is left as it is.
    virtual SettingWrite makeFolder(const std::string& folder) = 0;
};

}  // namespace talvane
