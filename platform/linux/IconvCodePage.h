#pragma once

#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace talvane {

// The ANSI code page through glibc iconv; for GBK (936) with the user-defined
// areas mapped as Windows maps them. A conversion descriptor is opened
// for each call and closed before it returns, so one object may be shared
// freely.
class IconvCodePage : public CodePage {
  public:
    explicit IconvCodePage(std::string name = "GBK");

    // False when iconv does not know the name; the object then passes ASCII
    // through and treats every other byte or character as unconvertible.
    bool valid() const { return valid_; }
    const std::string& name() const { return name_; }

    std::u16string toUnicode(std::string_view bytes) const override;
    std::string fromUnicode(std::u16string_view text) const override;

  private:
    std::string name_;
    bool userDefinedAreas_ = false;
    bool valid_ = false;
};

}  // namespace talvane
