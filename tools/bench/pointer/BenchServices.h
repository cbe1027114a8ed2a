#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/AppPaths.h"
#include "platform/CodePage.h"
#include "platform/HttpClient.h"
#include "platform/InstanceLock.h"
#include "platform/Opener.h"
#include "platform/PopupComponents.h"
#include "platform/SettingsStore.h"
#include "platform/Tray.h"

// Stand-ins for everything outside the window, so that the pointer
// benchmark runs the real form and view without network, files or tray.
namespace talvane::bench {

class NoEarlierInstance : public InstanceLock {
  public:
    bool earlierInstanceRunning() const override { return false; }
};

class SilentTray : public Tray {
  public:
    void setShown(bool) override {}
    void setTooltip(const std::u16string&) override {}
    int showMenu(const std::vector<MenuItem>&) override { return -1; }
};

class NoOpener : public Opener {
  public:
    OpenResult open(std::u16string_view) override {
        return {OpenResult::Status::Refused, "nothing opens in the benchmark"};
    }
};

class NoComponents : public PopupComponents {
  public:
    CreatedObject create(std::string_view) override {
        return {nullptr, {ComponentResult::Status::NotInstalled, "no components in the benchmark"}};
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
class CannedEventService : public HttpClient {
  public:
    explicit CannedEventService(const CodePage& codePage);
    FetchResult get(std::u16string_view url) override;

  private:
    std::string page_;
};

}  // namespace talvane::bench
