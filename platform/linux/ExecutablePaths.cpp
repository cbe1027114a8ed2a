#include "platform/linux/ExecutablePaths.h"

#include <unistd.h>

#include <utility>

namespace talvane {

ExecutablePaths::ExecutablePaths(std::string exeLink) : exeLink_(std::move(exeLink)) {}

std::string ExecutablePaths::applicationDirectory() const {
    // readlink does not say whether the name was cut, so grow until it fits.
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(exeLink_.c_str(), target.data(), target.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2);
    }
    // A replaced executable reads "/dir/name (deleted)": still the right
    // folder, since the suffix sits in the last component.
    // The kernel names the executable absolutely; anything else would be
    // read relative to the current folder.
    if (target.empty() || target.front() != '/') return {};
    return directoryOf(target);
}

std::string ExecutablePaths::directoryOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

}  // namespace talvane
