#pragma once

#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "platform/InstanceLock.h"
#include "platform/Shell.h"
#include "platform/SysTray.h"

namespace talvane::testing {

class FakeInstanceLock : public InstanceLock {
  public:
    explicit FakeInstanceLock(bool earlier = false) : earlier_(earlier) {}
    bool earlierInstanceRunning() const override { return earlier_; }

  private:
    bool earlier_;
};

class FakeSysTray : public SysTray {
  public:
    explicit FakeSysTray(CallLog& log) : log_(log) {}
    bool intray = false;
    std::u16string traytip;
    void setIntray(bool inTray) override {
        log_.add(std::string("intray ") + (inTray ? "1" : "0"));
        intray = inTray;
    }
    void setTraytip(const std::u16string& tip) override { traytip = tip; }

  private:
    CallLog& log_;
};

class FakeShell : public Shell {
  public:
    std::vector<std::u16string> opened;
    void openUrl(std::u16string_view url) override { opened.emplace_back(url); }
};

}  // namespace talvane::testing
