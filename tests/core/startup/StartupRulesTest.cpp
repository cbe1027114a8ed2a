#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "service/ServiceBaseUrl.h"
#include "startup/StartupRules.h"

namespace talvane {
namespace {

// Records what a face is told and done, in order.
class RecordingFace : public StartupFace, public InstanceLock {
  public:
    explicit RecordingFace(bool earlierInstance = false) : earlierInstance_(earlierInstance) {}

    void tell(const std::string& text, bool error) override {
        (error ? err : out) += text;
        steps.push_back(error ? "stderr" : "stdout");
    }
    InstanceLock& takeInstanceLock() override {
        steps.push_back("lock");
        return *this;
    }
    bool earlierInstanceRunning() const override { return earlierInstance_; }
    void askEarlierInstanceToShow() override { steps.push_back("ask to show"); }

    std::string out;
    std::string err;
    std::vector<std::string> steps;

  private:
    bool earlierInstance_;
};

struct Outcome {
    std::optional<int> status;
    RecordingFace face;
};

Outcome Start(std::vector<std::string> arguments, const char* serviceUrl = nullptr,
              bool earlierInstance = false) {
    Outcome run{std::nullopt, RecordingFace(earlierInstance)};
    run.status = ApplyStartupRules({std::move(arguments), serviceUrl, "9.8.7"}, run.face);
    return run;
}

TEST(StartupRules, VersionAndHelpAnswerWithoutTheLock_EvenWithABrokenServiceAddress) {
    const Outcome version = Start({"--version"}, "file:///etc");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.face.out,
              "talvane 9.8.7\nservice " + std::string(BuiltInServiceBaseUrl()) + "\n");
    EXPECT_EQ(version.face.steps, std::vector<std::string>{"stdout"});

    const Outcome help = Start({"--help"}, nullptr, true);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.face.out, UsageText());
    EXPECT_EQ(help.face.out.rfind("Usage: talvane [--help | --version]\n", 0), 0u);
    EXPECT_NE(help.face.out.find("TALVANE_SERVICE_URL"), std::string::npos);
    EXPECT_EQ(help.face.steps, std::vector<std::string>{"stdout"});
}

TEST(StartupRules, AnythingElseIsOneLineNamingTheArgument_AndStatus2) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{"--bogus"}, "'--bogus'"},
        {{"-version"}, "'-version'"},
        {{"--VERSION"}, "'--VERSION'"},
        {{""}, "''"},
        {{"--version", "extra"}, "'extra'"},
        {{"--help", "--version"}, "'--version'"},
        {{"-platform", "offscreen"}, "'-platform'"},
        {{"status"}, "'status'"},
        {{"a\nb"}, "'a?b'"},
    };
    for (const auto& [arguments, named] : wrong) {
        const Outcome run = Start(arguments);
        EXPECT_EQ(run.status, 2) << named;
        EXPECT_EQ(run.face.out, "") << named;
        EXPECT_EQ(run.face.steps, std::vector<std::string>{"stderr"}) << named;
        EXPECT_EQ(run.face.err.rfind("talvane: unexpected argument " + named, 0), 0u)
            << run.face.err;
        EXPECT_EQ(run.face.err.find('\n'), run.face.err.size() - 1) << run.face.err;
    }
}

TEST(StartupRules, AServiceAddressThatIsNoWebAddress_EndsTheStartBeforeTheLock) {
    for (const char* bad : {"file:///etc", "/", "ftp://127.0.0.1/", "http://", "127.0.0.1:8765",
                            "http://user@127.0.0.1/", "http://[::1"}) {
        const Outcome run = Start({}, bad);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_EQ(run.face.steps, std::vector<std::string>{"stderr"}) << bad;
        EXPECT_EQ(run.face.err, "talvane: " + *ServiceBaseUrlProblem(bad) + "\n");
    }
}

TEST(StartupRules, TheLockComesLast_AndALaterStartAsksTheFirstToShow) {
    const Outcome later = Start({}, "https://seminars.example.test/", true);
    EXPECT_EQ(later.status, 0);
    EXPECT_EQ(later.face.steps, (std::vector<std::string>{"lock", "ask to show"}));
    EXPECT_EQ(later.face.out + later.face.err, "");

    const Outcome first = Start({}, "http://host:");
    EXPECT_EQ(first.status, std::nullopt);
    EXPECT_EQ(first.face.steps, std::vector<std::string>{"lock"});
}

// The address this copy was built for passes the check it will meet at
// every start: a build for a broken address fails here, not on a desktop.
TEST(StartupRules, TheBuiltInServiceAddressPassesTheStartUpCheck) {
    EXPECT_EQ(ServiceBaseUrlProblem(nullptr), std::nullopt) << BuiltInServiceBaseUrl();
    EXPECT_EQ(Start({}).status, std::nullopt);
}

}  // namespace
}  // namespace talvane
