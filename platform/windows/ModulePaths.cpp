#include "platform/windows/ModulePaths.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace talvane {
namespace {

// Empty when the name cannot be read: nothing is then looked up relative to
// the current folder.
std::wstring moduleFileName() {
    // Long path names run past MAX_PATH: grow until the name fits.
    for (DWORD size = MAX_PATH; size <= 32768 * 2; size *= 2) {
        std::wstring name(size, L'\0');
        const DWORD got = ::GetModuleFileNameW(nullptr, name.data(), size);
        if (got == 0) return {};
        if (got < size) {
            name.resize(got);
            return name;
        }
    }
    return {};
}

}  // namespace

ModulePaths::ModulePaths() : directory_(directoryOf(win::Utf8FromWide(moduleFileName()))) {}

std::string ModulePaths::directoryOf(const std::string& file) {
    const std::size_t separator = file.find_last_of("\\/");
    if (separator == std::string::npos) return {};
    // "C:\" keeps its separator: "C:" alone names the current folder of C:.
    const bool driveRoot = separator == 2 && file[1] == ':';
    return file.substr(0, driveRoot ? separator + 1 : separator);
}

}  // namespace talvane
