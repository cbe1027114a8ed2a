#pragma once

#include "platform/Opener.h"

namespace talvane {

// The desktop's standard opener (xdg-open or $BROWSER on Linux), handed the
// address as one argument; no shell is involved.
class QtOpener : public Opener {
  public:
    OpenResult open(std::u16string_view url) override;
};

}  // namespace talvane
