#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace talvane {

// Byte-level INI access with the behaviour of the Windows profile functions
// (GetPrivateProfileStringA / WritePrivateProfileStringA): names and values
// are bytes in the ANSI code page, section and key names match without
// regard to ASCII case, lines starting with ';' are comments, a value in
// matching quotes loses its quotes on reading.
class ProfileFile {
  public:
    virtual ~ProfileFile() = default;

    // Copies the value (or defaultValue when the file, section or key is
    // missing) into buffer, cut to size - 1 bytes and NUL-terminated; returns
    // the number of bytes copied, without the NUL. Never creates the file.
    virtual std::uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                                   std::string_view defaultValue, char* buffer,
                                                   std::uint32_t size, const std::string& path) = 0;

    // Creates file, section and key as needed, replaces an existing value and
    // keeps every other byte of the file. Nonzero on success, 0 on failure;
    // a failed write leaves the old file untouched.
    virtual int WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                           std::string_view value, const std::string& path) = 0;
};

}  // namespace talvane
