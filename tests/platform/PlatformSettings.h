#pragma once

// The settings store and code page of the platform the tests run on, for
// tests of the core over the real stack.
#ifdef _WIN32
#include "platform/windows/AnsiCodePage.h"
#include "platform/windows/ProfileSettingsStore.h"
#else
#include "platform/linux/IconvCodePage.h"
#include "platform/linux/IniSettingsStore.h"
#endif

namespace talvane::testing {

#ifdef _WIN32
using PlatformSettingsStore = ProfileSettingsStore;
using PlatformCodePage = AnsiCodePage;
inline PlatformCodePage GbkCodePage() { return AnsiCodePage(936); }
#else
using PlatformSettingsStore = IniSettingsStore;
using PlatformCodePage = IconvCodePage;
inline PlatformCodePage GbkCodePage() { return IconvCodePage("GBK"); }
#endif

}  // namespace talvane::testing
