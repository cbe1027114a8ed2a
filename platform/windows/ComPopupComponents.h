#pragma once

#include <objbase.h>
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PopupComponents.h"
#include "platform/windows/ComApartment.h"

namespace talvane {

// A component shipped beside the program and declared by its class
// identifier in the program's manifest (registration-free COM).
struct BundledComponent {
    std::string progId;
    CLSID clsid;
};

// Popup components through COM: CLSIDFromProgID + CoCreateInstance, then
// DisplayAlert through IDispatch (GetIDsOfNames + Invoke), in-process
// servers only. A component registered for the identifier wins; when the
// registry names no class for it, or the class it names cannot be created,
// a bundled component of that identifier is created. The thread joins a COM
// apartment at the first create, for the lifetime of this object; objects
// must be used and released on that thread, before this object ends.
class ComPopupComponents : public PopupComponents {
  public:
    explicit ComPopupComponents(std::vector<BundledComponent> bundled = {});
    CreatedObject create(std::string_view progId) override;

  private:
    CreatedObject createInProcess(const CLSID& clsid, const std::string& name);

    std::optional<ComApartment> apartment_;
    std::vector<BundledComponent> bundled_;
};

}  // namespace talvane
