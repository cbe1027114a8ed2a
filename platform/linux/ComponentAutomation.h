#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PopupComponents.h"

namespace talvane {

namespace detail {
class ComponentLibraries;
}

// True for a programmatic identifier that can only name a file inside a
// components directory: letters, digits, '.' and '_', not starting with '.',
// at most 128 characters.
bool isValidProgId(std::string_view progId);

// Creates popup objects from the components of components/ComponentAbi.h:
// "<progId>.so" from the first directory in the search list that has it,
// passing over a file or folder that a user other than this one or root
// may write.
// Each object loads its library; releasing the object unloads the library
// again once the component says nothing of it is running any more. A
// library that has to stay (its popup is still on screen) is unloaded at a
// later creation or release, or by unloadIdleComponents().
class ComponentAutomation : public PopupComponents {
  public:
    explicit ComponentAutomation(std::vector<std::string> searchDirectories);
    // Libraries that still refuse to unload stay loaded until the process
    // ends: unloading code that a live popup runs would crash it.
    ~ComponentAutomation() override;

    ComponentAutomation(const ComponentAutomation&) = delete;
    ComponentAutomation& operator=(const ComponentAutomation&) = delete;

    // "<executableDirectory>/components", then the installed components
    // directory; only the latter when the executable's folder is unknown
    // (empty) or not absolute.
    static std::vector<std::string> defaultSearchDirectories(
        const std::string& executableDirectory);

    // Locates "<progId>.so", loads it and resolves its entry points; the
    // result carries the component's own words when it refuses an object.
    CreatedObject create(std::string_view progId) override;

    // Unloads every released library whose component now agrees.
    void unloadIdleComponents();

    // Released libraries still loaded because their component refused.
    std::size_t librariesWaitingToUnload() const;

  private:
    // The first directory's "<progId>.so", or "" when none has it; what
    // was passed over, and why, is added to `refused`.
    std::string locate(std::string_view progId, std::string& refused) const;

    std::vector<std::string> searchDirectories_;
    std::shared_ptr<detail::ComponentLibraries> libraries_;
};

}  // namespace talvane
