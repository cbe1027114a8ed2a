#include "platform/linux/ComponentAutomation.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <utility>

#include "components/ComponentAbi.h"
#include "platform/linux/WriteAccess.h"

#ifndef TALVANE_INSTALLED_COMPONENT_DIR
#error "TALVANE_INSTALLED_COMPONENT_DIR comes from the build (TALVANE_COMPONENT_INSTALL_DIR)"
#endif

namespace talvane {

namespace detail {

// One dlopen of a component library and its entry points.
struct ComponentLibrary {
    void* handle = nullptr;
    std::string path;
    TalvaneCreateObjectFn createObject = nullptr;
    TalvaneDisplayAlertFn displayAlert = nullptr;
    TalvaneReleaseObjectFn releaseObject = nullptr;
    TalvaneCanUnloadNowFn canUnloadNow = nullptr;

    // dlclose when the component agrees; true when the handle is gone.
    bool unloadIfAllowed() {
        if (canUnloadNow != nullptr && canUnloadNow() != 1) return false;
        dlclose(handle);
        handle = nullptr;
        return true;
    }
};

// Released libraries that their component did not let go yet. Shared by the
// automation object and every object it created, so either may go first.
class ComponentLibraries {
  public:
    ~ComponentLibraries() {
        unloadIdle();
        // Whatever is left stays mapped on purpose (see ~ComponentAutomation).
    }

    void retire(std::unique_ptr<ComponentLibrary> library) {
        if (!library->unloadIfAllowed()) waiting_.push_back(std::move(library));
        unloadIdle();
    }

    void unloadIdle() {
        std::erase_if(waiting_, [](const std::unique_ptr<ComponentLibrary>& library) {
            return library->unloadIfAllowed();
        });
    }

    std::size_t waiting() const { return waiting_.size(); }

  private:
    std::vector<std::unique_ptr<ComponentLibrary>> waiting_;
};

}  // namespace detail

namespace {

using detail::ComponentLibraries;
using detail::ComponentLibrary;

std::string errorText(const TalvaneError& error, const char* fallback) {
    const std::size_t length = strnlen(error.message, TALVANE_ERROR_CAPACITY);
    return length == 0 ? std::string(fallback) : std::string(error.message, length);
}

// Copies as much of text as fits and returns the whole length.
std::size_t copyOut(const std::u16string& text, char16_t* out, std::size_t outCapacity) {
    if (out != nullptr) {
        const std::size_t n = text.size() < outCapacity ? text.size() : outCapacity;
        std::memcpy(out, text.data(), n * sizeof(char16_t));
    }
    return text.size();
}

// The window's operations as C callbacks. Nothing may unwind into the
// component's frames, so every exception ends here.
void windowDoTransparency(void* context) {
    try {
        static_cast<FormObject*>(context)->DoTransparency();
    } catch (...) {
    }
}

std::size_t windowGetTitle(void* context, const char16_t* title, std::size_t titleLength,
                           char16_t* out, std::size_t outCapacity) {
    try {
        std::u16string text(title != nullptr ? title : u"", title != nullptr ? titleLength : 0);
        return copyOut(static_cast<FormObject*>(context)->getTitle(text), out, outCapacity);
    } catch (...) {
        return 0;
    }
}

std::int32_t windowKnowIfVisitPage(void* context) {
    try {
        return static_cast<FormObject*>(context)->knowIfVisitPage() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

std::size_t windowServiceBaseUrl(void* context, char16_t* out, std::size_t outCapacity) {
    try {
        return copyOut(static_cast<FormObject*>(context)->serviceBaseUrl(), out, outCapacity);
    } catch (...) {
        return 0;
    }
}

ComponentResult failed(ComponentResult::Status status, std::string reason) {
    return {status, std::move(reason)};
}

// One object of a loaded component.
class ComponentObject : public PopupObject {
  public:
    ComponentObject(std::unique_ptr<ComponentLibrary> library, TalvaneObject* object,
                    std::shared_ptr<ComponentLibraries> libraries)
        : library_(std::move(library)), object_(object), libraries_(std::move(libraries)) {}

    ~ComponentObject() override {
        library_->releaseObject(object_);
        libraries_->retire(std::move(library_));
    }

    ComponentResult DisplayAlert(const std::u16string& clientNumber, std::int16_t arg2,
                                 std::int16_t arg3, const std::u16string& message,
                                 FormObject* window) override {
        TalvaneWindow callbacks{window, windowDoTransparency, windowGetTitle, windowKnowIfVisitPage,
                                windowServiceBaseUrl};
        TalvaneError error{};
        const std::int32_t result = library_->displayAlert(
            object_, clientNumber.data(), clientNumber.size(), arg2, arg3, message.data(),
            message.size(), window != nullptr ? &callbacks : nullptr, &error);
        if (result == TALVANE_OK) return {ComponentResult::Status::Ok, {}};
        error.message[TALVANE_ERROR_CAPACITY - 1] = '\0';
        return failed(ComponentResult::Status::Failed,
                      errorText(error, "the component could not show the alert"));
    }

  private:
    std::unique_ptr<ComponentLibrary> library_;
    TalvaneObject* object_;
    std::shared_ptr<ComponentLibraries> libraries_;
};

// dlopen of the file; the loader's reason when it fails.
std::unique_ptr<ComponentLibrary> load(const std::string& path, std::string& error) {
    auto library = std::make_unique<ComponentLibrary>();
    library->path = path;
    dlerror();
    library->handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library->handle == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "cannot load " + path;
        return nullptr;
    }
    return library;
}

template <typename Fn>
bool findEntryPoint(void* handle, const char* name, Fn& entry, std::string& error) {
    entry = reinterpret_cast<Fn>(dlsym(handle, name));
    if (entry == nullptr) error = std::string("missing entry point ") + name;
    return entry != nullptr;
}

// Finds every entry point and checks the interface version. On failure the
// library is unloaded (nothing of a foreign version is called) and false
// returned.
bool resolve(ComponentLibrary& library, std::string& error) {
    TalvaneComponentAbiVersionFn abiVersion = nullptr;
    const bool complete =
        findEntryPoint(library.handle, "TalvaneComponentAbiVersion", abiVersion, error) &&
        findEntryPoint(library.handle, "TalvaneCreateObject", library.createObject, error) &&
        findEntryPoint(library.handle, "TalvaneDisplayAlert", library.displayAlert, error) &&
        findEntryPoint(library.handle, "TalvaneReleaseObject", library.releaseObject, error) &&
        findEntryPoint(library.handle, "TalvaneCanUnloadNow", library.canUnloadNow, error);
    if (!complete) {
        error += " in " + library.path;
        library.canUnloadNow = nullptr;
        library.unloadIfAllowed();
        return false;
    }
    if (const std::uint32_t version = abiVersion(); version != TALVANE_COMPONENT_ABI_VERSION) {
        error = library.path + " implements component interface version " +
                std::to_string(version) + ", not " + std::to_string(TALVANE_COMPONENT_ABI_VERSION);
        // Nothing of a foreign interface version is called, CanUnloadNow included.
        library.canUnloadNow = nullptr;
        library.unloadIfAllowed();
        return false;
    }
    return true;
}

}  // namespace

bool isValidProgId(std::string_view progId) {
    constexpr std::size_t kLongest = 128;
    if (progId.empty() || progId.size() > kLongest || progId.front() == '.') return false;
    for (const char c : progId) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                             (c >= '0' && c <= '9') || c == '.' || c == '_';
        if (!allowed) return false;
    }
    return true;
}

ComponentAutomation::ComponentAutomation(std::vector<std::string> searchDirectories)
    : searchDirectories_(std::move(searchDirectories)),
      libraries_(std::make_shared<ComponentLibraries>()) {}

ComponentAutomation::~ComponentAutomation() = default;

std::vector<std::string> ComponentAutomation::defaultSearchDirectories(
    const std::string& executableDirectory) {
    // An unknown folder is not the current one: only the installed folder.
    if (executableDirectory.empty() || executableDirectory.front() != '/') {
        return {TALVANE_INSTALLED_COMPONENT_DIR};
    }
    std::string local = executableDirectory;
    if (local.back() != '/') local += '/';
    local += "components";
    return {local, TALVANE_INSTALLED_COMPONENT_DIR};
}

std::string ComponentAutomation::locate(std::string_view progId, std::string& refused) const {
    const std::string fileName = std::string(progId) + ".so";
    for (const std::string& directory : searchDirectories_) {
        const std::string candidate = directory + "/" + fileName;
        if (access(candidate.c_str(), F_OK) != 0) continue;
        // Loading runs the library's code as this user: a file or folder
        // that someone else could have changed is passed over.
        if (!PathWritableOnlyBy(directory, {::getuid(), 0}) ||
            !PathWritableOnlyBy(candidate, {::getuid(), 0})) {
            refused += "; refused " + candidate + ": another user can change it";
            continue;
        }
        return candidate;
    }
    return {};
}

CreatedObject ComponentAutomation::create(std::string_view progId) {
    libraries_->unloadIdle();
    if (!isValidProgId(progId)) {
        return {nullptr, failed(ComponentResult::Status::NotInstalled,
                                "invalid programmatic identifier \"" + std::string(progId) + "\"")};
    }
    std::string refused;
    const std::string path = locate(progId, refused);
    if (path.empty()) {
        std::string reason = "no component " + std::string(progId) + ".so in";
        for (const std::string& directory : searchDirectories_) reason += " " + directory;
        reason += refused;
        return {nullptr, failed(ComponentResult::Status::NotInstalled, std::move(reason))};
    }

    std::string error;
    std::unique_ptr<ComponentLibrary> library = load(path, error);
    if (!library || !resolve(*library, error)) {
        return {nullptr, failed(ComponentResult::Status::Failed, std::move(error))};
    }

    TalvaneObject* object = nullptr;
    TalvaneError creationError{};
    if (library->createObject(&object, &creationError) != TALVANE_OK || object == nullptr) {
        creationError.message[TALVANE_ERROR_CAPACITY - 1] = '\0';
        libraries_->retire(std::move(library));
        return {nullptr,
                failed(ComponentResult::Status::Failed,
                       errorText(creationError, "the component could not create an object"))};
    }
    return {std::make_unique<ComponentObject>(std::move(library), object, libraries_),
            {ComponentResult::Status::Ok, {}}};
}

void ComponentAutomation::unloadIdleComponents() { libraries_->unloadIdle(); }

std::size_t ComponentAutomation::librariesWaitingToUnload() const { return libraries_->waiting(); }

}  // namespace talvane
