#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/linux/ComponentAutomation.h"
#include "tests/components/TestComponentState.h"

namespace talvane {
namespace {

using namespace std::string_literals;

const std::string kTestDir = TEST_COMPONENT_DIR;

class RecordingWindow : public FormObject {
  public:
    int transparencyCalls = 0;
    void DoTransparency() override { ++transparencyCalls; }
    std::u16string getTitle(std::u16string& title) override { return u"<" + title + u">"; }
    bool knowIfVisitPage() override { return true; }
    std::u16string serviceBaseUrl() const override { return u"http://127.0.0.1:8765"; }
};

bool isLoaded(const std::string& progId) {
    void* handle = dlopen((kTestDir + "/" + progId + ".so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) dlclose(handle);
    return handle != nullptr;
}

// The state of a loaded test component; the extra reference is dropped at
// once, so the automation's own handle decides when it unloads.
TestComponentState* stateOf(const std::string& progId) {
    void* handle = dlopen((kTestDir + "/" + progId + ".so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return nullptr;
    auto get = reinterpret_cast<TestComponentStateFn>(dlsym(handle, "TestComponentGetState"));
    dlclose(handle);
    return get != nullptr ? get() : nullptr;
}

std::unique_ptr<PopupObject> create(ComponentAutomation& automation, const std::string& progId,
                                    std::string& error) {
    CreatedObject created = automation.create(progId);
    error = created.result.reason;
    EXPECT_EQ(created.result.ok(), created.object != nullptr) << progId;
    return std::move(created.object);
}

TEST(ComponentAutomation, CallsTheComponentAndUnloadsItAfterRelease) {
    // The first directory has no such component; the second one does.
    ComponentAutomation automation({"/nonexistent-talvane-dir", kTestDir});
    std::string error;
    auto object = create(automation, "Test.Works", error);
    ASSERT_NE(object, nullptr) << error;
    TestComponentState* state = stateOf("Test.Works");
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->created, 1);

    RecordingWindow window;
    std::u16string clientNumber = u"unknown value";
    std::u16string message = u"a||||||b||||||c\u4E2D\0d||||||e"s;
    EXPECT_TRUE(object->DisplayAlert(clientNumber, 103, 50, message, &window).ok());
    EXPECT_EQ(state->arg2, 103);
    EXPECT_EQ(state->arg3, 50);
    EXPECT_EQ(std::u16string(state->clientNumber, state->clientNumberLength), clientNumber);
    EXPECT_EQ(std::u16string(state->message, state->messageLength), message);
    EXPECT_EQ(state->windowGiven, 1);
    EXPECT_EQ(state->visitPageAllowed, 1);
    EXPECT_EQ(window.transparencyCalls, 1);
    EXPECT_EQ(std::u16string(state->title, state->titleLength), u"<unknown value>");
    EXPECT_EQ(std::u16string(state->serviceBaseUrl, state->serviceBaseUrlLength),
              u"http://127.0.0.1:8765");

    EXPECT_TRUE(object->DisplayAlert(clientNumber, 103, 50, message, nullptr).ok());
    EXPECT_EQ(state->windowGiven, 0);

    object.reset();
    EXPECT_FALSE(isLoaded("Test.Works"));
    EXPECT_EQ(automation.librariesWaitingToUnload(), 0u);
}

TEST(ComponentAutomation, KeepsABusyComponentLoadedUntilItAgrees) {
    ComponentAutomation automation({kTestDir});
    std::string error;
    auto object = create(automation, "Test.Works", error);
    ASSERT_NE(object, nullptr) << error;
    TestComponentState* state = stateOf("Test.Works");
    state->busy = 1;
    object.reset();
    EXPECT_EQ(state->released, 1);
    EXPECT_TRUE(isLoaded("Test.Works"));
    EXPECT_EQ(automation.librariesWaitingToUnload(), 1u);

    automation.unloadIdleComponents();
    EXPECT_TRUE(isLoaded("Test.Works"));

    state->busy = 0;
    automation.unloadIdleComponents();
    EXPECT_EQ(automation.librariesWaitingToUnload(), 0u);
    EXPECT_FALSE(isLoaded("Test.Works"));
}

TEST(ComponentAutomation, OutlivedObjectStillReleasesCleanly) {
    std::unique_ptr<PopupObject> object;
    {
        ComponentAutomation automation({kTestDir});
        std::string error;
        object = create(automation, "Test.Works", error);
        ASSERT_NE(object, nullptr) << error;
    }
    object.reset();
    EXPECT_FALSE(isLoaded("Test.Works"));
}

TEST(ComponentAutomation, ReportsWhyNoObjectCouldBeCreated) {
    ComponentAutomation automation({kTestDir});
    struct Case {
        std::string progId;
        std::string reasonPart;
    };
    const Case cases[] = {
        {"", "invalid"},
        {"../testcomponents/Test.Works", "invalid"},
        {"Test/Works", "invalid"},
        {".Test.Works", "invalid"},
        {"Test Works", "invalid"},
        {std::string("Test.Works\0x", 12), "invalid"},
        {"Test.Absent", "no component Test.Absent.so in " + kTestDir},
        {"Test.NotALibrary", "Test.NotALibrary.so"},
        {"Test.NoDisplay", "missing entry point TalvaneDisplayAlert"},
        {"Test.WrongAbi", "version 3, not 2"},
        {"Test.FailsCreate", "test component cannot create objects"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(create(automation, c.progId, error), nullptr) << c.progId;
        EXPECT_NE(error.find(c.reasonPart), std::string::npos) << c.progId << ": " << error;
    }
    for (const char* progId : {"Test.NoDisplay", "Test.WrongAbi", "Test.FailsCreate"}) {
        EXPECT_FALSE(isLoaded(progId)) << progId;
    }
}

TEST(ComponentAutomation, PassesOverWhatAnotherUserCanChange_AndNeverLooksInTheCurrentFolder) {
    char folderName[] = "/tmp/talvane-components-XXXXXX";
    ASSERT_NE(::mkdtemp(folderName), nullptr);
    const std::filesystem::path folder = folderName;
    const std::filesystem::path file = folder / "Test.Works.so";
    std::filesystem::copy_file(kTestDir + "/Test.Works.so", file);
    const auto fileWithModes = [&](mode_t folderMode, mode_t fileMode) {
        ::chmod(folder.c_str(), folderMode);
        ::chmod(file.c_str(), fileMode);
        ComponentAutomation automation({folder.string()});
        std::string error;
        const bool created = create(automation, "Test.Works", error) != nullptr;
        EXPECT_EQ(created, error.empty()) << error;
        if (!created) {
            EXPECT_NE(error.find("another user can change it"), std::string::npos) << error;
        }
        return created;
    };
    EXPECT_FALSE(fileWithModes(0777, 0755));
    EXPECT_FALSE(fileWithModes(0775, 0755));
    EXPECT_FALSE(fileWithModes(0755, 0775));
    EXPECT_FALSE(fileWithModes(0755, 0757));
    EXPECT_TRUE(fileWithModes(0755, 0755));
    std::filesystem::remove_all(folder);

    for (const char* unknown : {"", "relative/bin"}) {
        const auto directories = ComponentAutomation::defaultSearchDirectories(unknown);
        ASSERT_EQ(directories.size(), 1u) << unknown;
        EXPECT_EQ(directories[0].front(), '/');
    }
}

TEST(ComponentAutomation, CarriesTheComponentsReason_WhenItsCallFails) {
    ComponentAutomation automation({kTestDir});
    std::string error;
    auto object = create(automation, "Test.FailsCall", error);
    ASSERT_NE(object, nullptr) << error;
    std::u16string clientNumber = u"1";
    std::u16string message = u"m";
    const ComponentResult result = object->DisplayAlert(clientNumber, 103, 50, message, nullptr);
    EXPECT_EQ(result.status, ComponentResult::Status::Failed);
    EXPECT_EQ(result.reason, "test component refuses to display");
    EXPECT_EQ(stateOf("Test.FailsCall")->calls, 1);
}

}  // namespace
}  // namespace talvane
