#pragma once

#include <string>

#include "components/FormObject.h"

namespace talvane::testing {

// The window object a popup component is handed, on the demo service's
// address; it shortens nothing and always allows a poll.
class FakeWindow : public FormObject {
  public:
    void DoTransparency() override {}
    std::u16string getTitle(std::u16string& title) override { return title; }
    bool knowIfVisitPage() override { return true; }
    std::u16string serviceBaseUrl() const override { return u"http://127.0.0.1:8765"; }
};

}  // namespace talvane::testing
