#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "components/FormObject.h"

namespace talvane {

struct ComponentResult {
    enum class Status { Ok, NotInstalled, Failed };
    Status status = Status::Failed;
    std::string reason;  // when not Ok: the platform's or the component's own words
    bool ok() const { return status == Status::Ok; }
};

// One object of a popup component. Destroying it releases it.
class PopupObject {
  public:
    virtual ~PopupObject() = default;
    // The component gets its own copies: nothing it does to the arguments
    // reaches the caller. window may be null.
    virtual ComponentResult DisplayAlert(const std::u16string& clientNumber, std::int16_t arg2,
                                         std::int16_t arg3, const std::u16string& message,
                                         FormObject* window) = 0;
};

struct CreatedObject {
    std::unique_ptr<PopupObject> object;  // null unless result is Ok
    ComponentResult result;
};

// Creates popup component objects by programmatic identifier.
class PopupComponents {
  public:
    virtual ~PopupComponents() = default;
    virtual CreatedObject create(std::string_view progId) = 0;
};

}  // namespace talvane
