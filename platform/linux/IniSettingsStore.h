#pragma once

#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace talvane {

// Settings in a plain INI file.
//
// Reading: a UTF-8 byte-order mark is skipped, LF and CRLF both end a line,
// blanks around names and values are ignored, and a value that is cut to
// maxBytes is never left holding half of a double-byte character (it comes
// back one byte shorter instead). A value ends at a NUL byte. A file that
// cannot be read (no permission, not a regular file, absurdly large) is
// Failed, not Missing.
//
// Writing replaces the whole file atomically: the new text goes to a
// temporary file in the same directory, is flushed to disk and renamed over
// the old one, which keeps its permission bits. A file without write
// permission is refused, as Windows refuses a read-only file, although the
// rename alone would succeed. When the path is a symbolic link, the file it
// points to is replaced and the link stays; a dangling link is refused.
// Names or values holding a line break or NUL, and key names the format
// cannot read back (empty, starting with ';' or '[', holding '='), are
// refused. A value with blanks at either end or in outer quotes is written
// in double quotes so that it reads back unchanged.
//
// Folders are made with mode 0700, one level at a time.
class IniSettingsStore : public SettingsStore {
  public:
    // doubleByteCodePage: the bytes are GBK or another East Asian
    // double-byte code page (lead bytes 0x81-0xFE).
    explicit IniSettingsStore(bool doubleByteCodePage = true) : doubleByte_(doubleByteCodePage) {}

    SettingRead read(const std::string& file, std::string_view section, std::string_view key,
                     std::size_t maxBytes) const override;
    SettingWrite write(const std::string& file, std::string_view section, std::string_view key,
                       std::string_view value) override;
    bool exists(const std::string& path) const override;
    SettingWrite makeFolder(const std::string& folder) override;

  private:
    bool doubleByte_;
};

}  // namespace talvane
