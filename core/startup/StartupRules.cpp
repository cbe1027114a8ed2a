#include "startup/StartupRules.h"

#include "service/ServiceBaseUrl.h"

namespace talvane {

namespace {

constexpr std::string_view kUsage =
    "Usage: talvane [--help | --version]\n"
    "\n"
    "Web-seminar tray notifier. Without arguments it starts in the notification\n"
    "area; while it runs, a second start for the same user ends at once.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and the service address built in, and exit\n"
    "\n"
    "Environment:\n"
    "  TALVANE_SERVICE_URL  base URL of the service, http or https (default: the\n"
    "                       address the program was built for, see --version)\n"
    "  TALVANE_TICK_MS      timer interval in milliseconds, for tests (10..60000)\n";

// The line stays one line whatever the argument holds.
std::string OneLine(std::string_view text) {
    std::string line;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        line.push_back(byte < 0x20 || byte == 0x7F ? '?' : c);
    }
    return line;
}

std::optional<int> ApplyArgumentRules(const StartupInput& input, StartupFace& face) {
    const std::vector<std::string>& arguments = input.arguments;
    if (arguments.empty()) return std::nullopt;
    // Exactly one of the two and nothing else: anything more is a mistake
    // worth saying so, not something to ignore.
    const bool known = arguments[0] == "--version" || arguments[0] == "--help";
    if (known && arguments.size() == 1) {
        if (arguments[0] == "--version") {
            face.tell("talvane " + std::string(input.version) + "\nservice " +
                          BuiltInServiceBaseUrl() + "\n",
                      false);
        } else {
            face.tell(std::string(kUsage), false);
        }
        return 0;
    }
    const std::string& wrong = known ? arguments[1] : arguments[0];
    face.tell("talvane: unexpected argument '" + OneLine(wrong) + "' (see talvane --help)\n", true);
    return 2;
}

}  // namespace

std::string_view UsageText() { return kUsage; }

std::optional<int> ApplyStartupRules(const StartupInput& input, StartupFace& face) {
    if (const std::optional<int> status = ApplyArgumentRules(input, face)) return status;
    if (const std::optional<std::string> problem = ServiceBaseUrlProblem(input.serviceUrl)) {
        face.tell("talvane: " + *problem + "\n", true);
        return 2;
    }
    InstanceLock& lock = face.takeInstanceLock();
    if (lock.earlierInstanceRunning()) {
        lock.askEarlierInstanceToShow();
        return 0;
    }
    return std::nullopt;
}

}  // namespace talvane
