#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/PopupComponents.h"

namespace talvane::testing {

// What one DisplayAlert call received.
struct DisplayAlertCall {
    std::u16string clientNumber;
    std::int16_t arg2 = 0;
    std::int16_t arg3 = 0;
    std::u16string message;
    FormObject* window = nullptr;
};

// Hands out recording popup objects, or none when the component is "not
// installed". Counts live objects so tests can see that every object is
// released.
class FakePopupComponents : public PopupComponents {
  public:
    bool installed = true;
    bool callFails = false;

    std::vector<std::string> createdProgIds;
    std::vector<DisplayAlertCall> calls;
    int liveObjects = 0;

    CreatedObject create(std::string_view progId) override {
        createdProgIds.emplace_back(progId);
        if (!installed) return {nullptr, {ComponentResult::Status::NotInstalled, "not installed"}};
        return {std::make_unique<Object>(*this), {ComponentResult::Status::Ok, {}}};
    }

  private:
    class Object : public PopupObject {
      public:
        explicit Object(FakePopupComponents& owner) : owner_(owner) { ++owner_.liveObjects; }
        ~Object() override { --owner_.liveObjects; }
        ComponentResult DisplayAlert(const std::u16string& clientNumber, std::int16_t arg2,
                                     std::int16_t arg3, const std::u16string& message,
                                     FormObject* window) override {
            owner_.calls.push_back({clientNumber, arg2, arg3, message, window});
            if (owner_.callFails) return {ComponentResult::Status::Failed, "the popup refused"};
            return {ComponentResult::Status::Ok, {}};
        }

      private:
        FakePopupComponents& owner_;
    };
};

}  // namespace talvane::testing
