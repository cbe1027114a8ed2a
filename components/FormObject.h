#pragma once

#include <string>

namespace talvane {

// The public operations of the notifier window, as handed to a popup
// component.
class FormObject {
  public:
    virtual ~FormObject() = default;
    virtual void DoTransparency() = 0;
    // Shortens title in place when it is longer than 32 characters and
    // returns the result.
    virtual std::u16string getTitle(std::u16string& title) = 0;
    virtual bool knowIfVisitPage() = 0;
    // The scheme-and-host prefix of every service address, so that a
    // component builds its links to the same service as the program.
    virtual std::u16string serviceBaseUrl() const = 0;
};

}  // namespace talvane
