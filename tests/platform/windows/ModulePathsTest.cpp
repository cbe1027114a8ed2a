#include "platform/windows/ModulePaths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace talvane {
namespace {

TEST(ModulePaths, DirectoryOf_KeepsTheDriveRootsSeparatorOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Program Files\\Talvane\\talvane.exe", "C:\\Program Files\\Talvane"},
        {"C:\\talvane.exe", "C:\\"},
        {"\\\\server\\share\\talvane.exe", "\\\\server\\share"},
        {"Z:/tmp/talvane.exe", "Z:/tmp"},
        {"talvane.exe", ""},
    };
    for (const auto& [file, folder] : cases) {
        EXPECT_EQ(ModulePaths::directoryOf(file), folder) << file;
    }
}

TEST(ModulePaths, ApplicationDirectory_IsTheFolderOfThisExecutable) {
    const std::string folder = ModulePaths().applicationDirectory();
    const std::u8string text(folder.begin(), folder.end());
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(text) / "windows_platform_tests.exe"))
        << folder;
}

}  // namespace
}  // namespace talvane
