#pragma once

#include "platform/Shell.h"

namespace talvane {

// The desktop's standard opener (xdg-open or $BROWSER on Linux), handed the
// address as one argument; no shell is involved.
class QtShell : public Shell {
  public:
    void openUrl(std::u16string_view url) override;
};

}  // namespace talvane
