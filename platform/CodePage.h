#pragma once

#include <string>
#include <string_view>

namespace talvane {

// The system's ANSI code page: every byte that crosses the platform boundary
// (settings-file values, downloaded pages) passes through it.
class CodePage {
  public:
    virtual ~CodePage() = default;

    // Lenient: an invalid or truncated sequence becomes U+FFFD and decoding
    // goes on with the next byte, so a broken page never fails as a whole.
    virtual std::u16string toUnicode(std::string_view bytes) const = 0;

    // Characters the code page cannot represent become '?'.
    virtual std::string fromUnicode(std::u16string_view text) const = 0;
};

}  // namespace talvane
