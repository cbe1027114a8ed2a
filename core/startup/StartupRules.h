#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/InstanceLock.h"

namespace talvane {

// The text of --help, the same on every face.
std::string_view UsageText();

// What a face lends the start-up rules: a way to tell the user (Linux
// writes to the standard streams, Windows shows a message box or writes to
// the console it was started from) and the per-user instance lock.
class StartupFace {
  public:
    virtual ~StartupFace() = default;
    // Whole lines in UTF-8, each ending in '\n'.
    virtual void tell(const std::string& text, bool error) = 0;
    // Called at most once, and only when the start gets as far as the lock.
    virtual InstanceLock& takeInstanceLock() = 0;
};

struct StartupInput {
    std::vector<std::string> arguments;  // after the program's name, UTF-8
    const char* serviceUrl = nullptr;    // TALVANE_SERVICE_URL; nullptr when unset
    std::string_view version;
};

// Everything a start settles before its window, in the order that keeps a
// notifier safe:
// 1. the arguments: "--help" or "--version" alone answers and ends with 0,
//    anything else ends with 2 and one line naming the argument; neither
//    touches the lock, so asking for the version never starts or stops a
//    notifier;
// 2. the service address: one that is no web address ends with 2 before the
//    lock file, the settings or the tray are touched;
// 3. the instance lock: a later start asks the running one to show its panel
//    and ends with 0, before the toolkit, the settings or the network.
// Returns the exit status when the start ends here; nothing when it goes on
// to run, holding the lock.
std::optional<int> ApplyStartupRules(const StartupInput& input, StartupFace& face);

}  // namespace talvane
