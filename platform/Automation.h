#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FormObject.h"

namespace talvane {

// The dispatch interface of a "Flarebox.DisplayMsg" object. Destroying the
// object releases it.
class DisplayMsg {
  public:
    virtual ~DisplayMsg() = default;
    // false when the component reports an error.
    virtual bool DisplayAlert(std::u16string& clientNumber, std::int16_t arg2, std::int16_t arg3,
                              std::u16string& message, FormObject*& window) = 0;
};

// Creates automation objects by programmatic identifier.
class Automation {
  public:
    virtual ~Automation() = default;
    // nullptr when no component is installed under progId or it cannot be
    // created; the reason goes to error.
    virtual std::unique_ptr<DisplayMsg> CreateObject(std::string_view progId,
                                                     std::string& error) = 0;
};

}  // namespace talvane
