#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tools/hostile-service/ConnectionLog.h"
#include "tools/hostile-service/HostileMode.h"

namespace talvane::hostile {

// What every connection of a run shares; the pages are built once.
struct HostileSetup {
    HostileMode mode = HostileMode::Silent;
    std::uint64_t seed = 1;
    std::string page;  // the body the mode serves, when it serves one
    ConnectionLog* log = nullptr;
    // "http://127.0.0.2:PORT" in the modes that lead away to it.
    std::string otherOrigin;
};

// Builds the body that mode serves (empty for modes without one).
std::string bodyFor(HostileMode mode, std::uint64_t seed, std::string_view otherOrigin);

// Misbehaves on one accepted connection as the mode says, logs what
// happened and closes it. Runs on a thread of its own per connection.
void serveConnection(int fd, int connection, const HostileSetup& setup);

// A connection to the other origin. Nothing of the notifier's should ever
// arrive there; whatever does is logged as "other-accept", "other-request"
// and "other-end" and answered with an ordinary page.
void serveOtherOrigin(int fd, int connection, const HostileSetup& setup);

}  // namespace talvane::hostile
