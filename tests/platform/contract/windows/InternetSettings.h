#pragma once

#include <windows.h>

#include <string>

namespace talvane::contract {

// The flags of the user's Internet settings, as the connection record
// keeps them.
constexpr DWORD kDirect = 1;
constexpr DWORD kNamedProxy = 2;
constexpr DWORD kScriptAddress = 4;
constexpr DWORD kDetectAutomatically = 8;

// Writes the user's Internet settings in both forms Windows keeps: the
// binary "DefaultConnectionSettings" record WinHTTP reads, and the string
// values the settings dialogs show.
void WriteInternetSettings(DWORD flags, const std::string& proxy, const std::string& bypass = "",
                           const std::string& script = "");

}  // namespace talvane::contract
