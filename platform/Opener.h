#pragma once

#include <string>
#include <string_view>

namespace talvane {

struct OpenResult {
    enum class Status { Started, Refused, Failed };
    Status status = Status::Failed;
    std::string reason;  // when not Started
    bool started() const { return status == Status::Started; }
};

// Opens a web address in the user's default browser, without waiting for it.
// Anything but an absolute http or https address is Refused and never
// reaches the desktop's handler (no local paths, no other schemes).
class Opener {
  public:
    virtual ~Opener() = default;
    virtual OpenResult open(std::u16string_view url) = 0;
};

}  // namespace talvane
