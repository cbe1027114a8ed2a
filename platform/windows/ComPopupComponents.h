#pragma once

#include <objbase.h>
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/PopupComponents.h"

namespace talvane {

// The user-interface thread's COM apartment (single-threaded: popup
// components draw windows). Construct one at the top of wWinMain, before
// the first PopupComponents::create and before any window exists, and keep
// it until the message loop has ended.
class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ok() const { return SUCCEEDED(result_); }

  private:
    HRESULT result_;
};

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
// a bundled component of that identifier is created. Objects must be used
// and released on the thread of the ComApartment.
class ComPopupComponents : public PopupComponents {
  public:
    explicit ComPopupComponents(std::vector<BundledComponent> bundled = {});
    CreatedObject create(std::string_view progId) override;

  private:
    CreatedObject createInProcess(const CLSID& clsid, const std::string& name);

    std::vector<BundledComponent> bundled_;
};

}  // namespace talvane
