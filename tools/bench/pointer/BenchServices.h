#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "platform/AppPaths.h"
#include "platform/Automation.h"
#include "platform/CodePage.h"
#include "platform/HttpRequest.h"
#include "platform/InstanceLock.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/SysTray.h"

// Stand-ins for everything outside the window, so that the pointer
// benchmark runs the real form and view without network, files or tray.
namespace talvane::bench {

class NoEarlierInstance : public InstanceLock {
  public:
    bool earlierInstanceRunning() const override { return false; }
};

class SilentTray : public SysTray {
  public:
    void setIntray(bool) override {}
    void setTraytip(const std::u16string&) override {}
};

class NoShell : public Shell {
  public:
    void openUrl(std::u16string_view) override {}
};

class NoComponents : public Automation {
  public:
    std::unique_ptr<DisplayMsg> CreateObject(std::string_view, std::string& error) override {
        error = "no components in the benchmark";
        return nullptr;
    }
};

class NowhereFolder : public AppPaths {
  public:
    std::string applicationDirectory() const override { return "/nonexistent/talvane-bench"; }
};

// Every file holds the one stored client number; writes succeed and go nowhere.
class StoredClientNumber : public SettingsStore {
  public:
    SettingRead read(const std::string&, std::string_view, std::string_view,
                     std::size_t) const override {
        return {SettingRead::Status::Found, "123452026120910000054321", {}};
    }
    SettingWrite write(const std::string&, std::string_view, std::string_view,
                       std::string_view) override {
        return {SettingWrite::Status::Written, {}};
    }
    bool exists(const std::string&) const override { return true; }
    SettingWrite makeFolder(const std::string&) override {
        return {SettingWrite::Status::Written, {}};
    }
};

// Answers every request with one page in the code page: five events in the
// event-list span (the visit report ignores what it gets).
class CannedEventService : public HttpRequestFactory {
  public:
    explicit CannedEventService(const CodePage& codePage);
    std::unique_ptr<HttpRequest> create() override;

  private:
    std::string page_;
};

}  // namespace talvane::bench
