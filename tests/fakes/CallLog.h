#pragma once

#include <string>
#include <vector>

namespace talvane::testing {

// One ordered record of calls shared by several fakes, so that a test can
// check the order of steps across platform services.
struct CallLog {
    std::vector<std::string> entries;
    void add(std::string entry) { entries.push_back(std::move(entry)); }
    bool contains(const std::string& entry) const {
        for (const auto& e : entries) {
            if (e == entry) return true;
        }
        return false;
    }
};

}  // namespace talvane::testing
