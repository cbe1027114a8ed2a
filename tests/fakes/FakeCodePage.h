#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace talvane::testing {

// Latin-1: each byte is one character and back, so a test can write pages as
// plain strings. Counts its decodes. `fail` makes every decode throw, as an
// out-of-memory would.
class FakeCodePage : public CodePage {
  public:
    std::u16string toUnicode(std::string_view bytes) const override {
        ++decodes;
        if (fail) throw std::runtime_error("fake decode failure");
        std::u16string text;
        for (const char c : bytes) text.push_back(static_cast<unsigned char>(c));
        return text;
    }
    std::string fromUnicode(std::u16string_view text) const override {
        std::string bytes;
        for (const char16_t c : text) bytes.push_back(c < 0x100 ? static_cast<char>(c) : '?');
        return bytes;
    }
    mutable int decodes = 0;
    bool fail = false;
};

}  // namespace talvane::testing
