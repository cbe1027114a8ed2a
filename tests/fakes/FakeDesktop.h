#pragma once

#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "platform/InstanceLock.h"
#include "platform/Opener.h"
#include "platform/Tray.h"

namespace talvane::testing {

class FakeInstanceLock : public InstanceLock {
  public:
    explicit FakeInstanceLock(bool earlier = false) : earlier_(earlier) {}
    bool earlierInstanceRunning() const override { return earlier_; }

  private:
    bool earlier_;
};

// Logs "tray shown 1", "menu" in the shared log.
class FakeTray : public Tray {
  public:
    explicit FakeTray(CallLog& log) : log_(log) {}
    bool shown = false;
    std::u16string tooltip;
    int menuChoice = -1;  // what the user picks in the next menu
    std::vector<MenuItem> lastMenu;

    void setShown(bool on) override {
        log_.add(std::string("tray shown ") + (on ? "1" : "0"));
        shown = on;
    }
    void setTooltip(const std::u16string& tip) override { tooltip = tip; }
    int showMenu(const std::vector<MenuItem>& items) override {
        log_.add("menu");
        lastMenu = items;
        return menuChoice;
    }

  private:
    CallLog& log_;
};

class FakeOpener : public Opener {
  public:
    std::vector<std::u16string> opened;
    OpenResult open(std::u16string_view url) override {
        opened.emplace_back(url);
        return {OpenResult::Status::Started, {}};
    }
};

}  // namespace talvane::testing
