#pragma once

#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace talvane {

// The system's ANSI code page (GetACP, 936 on the users' machines) through
// MultiByteToWideChar / WideCharToMultiByte.
class AnsiCodePage : public CodePage {
  public:
    // codePage 0 means the system's ANSI code page, read once here.
    explicit AnsiCodePage(unsigned codePage = 0);

    unsigned codePage() const { return codePage_; }

    std::u16string toUnicode(std::string_view bytes) const override;
    std::string fromUnicode(std::u16string_view text) const override;

  private:
    unsigned codePage_;
};

}  // namespace talvane
