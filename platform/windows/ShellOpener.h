#pragma once

#include "platform/Opener.h"

namespace talvane {

// ShellExecuteW with the "open" verb and show command 0, as the program has
// always opened its links: the browser decides how its own window shows.
class ShellOpener : public Opener {
  public:
    OpenResult open(std::u16string_view url) override;
};

}  // namespace talvane
