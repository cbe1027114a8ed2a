#pragma once

#include <string_view>

namespace talvane {

// Opens an address with the desktop's default handler, without waiting and
// without reporting whether anything started.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void openUrl(std::u16string_view url) = 0;
};

}  // namespace talvane
