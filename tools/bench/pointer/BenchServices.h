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
#include "platform/ProfileFile.h"
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
class StoredClientNumber : public ProfileFile {
  public:
    std::uint32_t GetPrivateProfileStringA(std::string_view, std::string_view, std::string_view,
                                           char* buffer, std::uint32_t size,
                                           const std::string&) override {
        if (size == 0) {
            return 0;
        }
        const std::string_view value = "123452026120910000054321";
        const std::uint32_t n =
            std::min<std::uint32_t>(static_cast<std::uint32_t>(value.size()), size - 1);
        std::memcpy(buffer, value.data(), n);
        buffer[n] = '\0';
        return n;
    }
    int WritePrivateProfileStringA(std::string_view, std::string_view, std::string_view,
                                   const std::string&) override {
        return 1;
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
