#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Automation.h"

namespace talvane::testing {

// What one DisplayAlert call received.
struct DisplayAlertCall {
    std::u16string clientNumber;
    std::int16_t arg2 = 0;
    std::int16_t arg3 = 0;
    std::u16string message;
    FormObject* window = nullptr;
};

// Hands out recording DisplayMsg objects, or none when the component is
// "not installed". Counts creations and live objects so tests can see that
// every object is released.
class FakeAutomation : public Automation {
  public:
    bool installed = true;
    bool callFails = false;
    // A component that writes to the arguments it was given by reference.
    bool scribblesOnArguments = false;

    std::vector<std::string> createdProgIds;
    std::vector<DisplayAlertCall> calls;
    int liveObjects = 0;

    std::unique_ptr<DisplayMsg> CreateObject(std::string_view progId, std::string& error) override {
        createdProgIds.emplace_back(progId);
        if (!installed) {
            error = "not installed";
            return nullptr;
        }
        return std::make_unique<Object>(*this);
    }

  private:
    class Object : public DisplayMsg {
      public:
        explicit Object(FakeAutomation& owner) : owner_(owner) { ++owner_.liveObjects; }
        ~Object() override { --owner_.liveObjects; }
        bool DisplayAlert(std::u16string& clientNumber, std::int16_t arg2, std::int16_t arg3,
                          std::u16string& message, FormObject*& window) override {
            owner_.calls.push_back({clientNumber, arg2, arg3, message, window});
            if (owner_.scribblesOnArguments) {
                clientNumber = u"changed";
                message.clear();
                window = nullptr;
            }
            return !owner_.callFails;
        }

      private:
        FakeAutomation& owner_;
    };
};

}  // namespace talvane::testing
