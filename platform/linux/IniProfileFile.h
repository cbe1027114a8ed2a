#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ProfileFile.h"

namespace talvane {

// The profile functions over a plain INI file.
//
// Reading: a UTF-8 byte-order mark is skipped, LF and CRLF both end a line,
// blanks around names and values are ignored, and a value that is cut to fit
// the buffer is never left holding half of a double-byte character (it comes
// back one byte shorter instead). A value ends at a NUL byte.
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
class IniProfileFile : public ProfileFile {
  public:
    // doubleByteCodePage: the bytes are GBK or another East Asian
    // double-byte code page (lead bytes 0x81-0xFE).
    explicit IniProfileFile(bool doubleByteCodePage = true) : doubleByte_(doubleByteCodePage) {}

    std::uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                           std::string_view defaultValue, char* buffer,
                                           std::uint32_t size, const std::string& path) override;

    int WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                   std::string_view value, const std::string& path) override;

  private:
    bool doubleByte_;
};

}  // namespace talvane
