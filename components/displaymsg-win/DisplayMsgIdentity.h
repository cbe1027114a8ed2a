#pragma once

#include <objbase.h>
#include <windows.h>

namespace talvane::displaymsg {

inline constexpr wchar_t kDisplayMsgProgId[] = L"Flarebox.DisplayMsg";
inline constexpr wchar_t kDisplayMsgDescription[] = L"Talvane reminder popup";

// {F140A6CA-89C3-45D7-86EF-3457C2A0A082}; the application manifest names it too.
inline constexpr CLSID kDisplayMsgClsid = {
    0xf140a6ca, 0x89c3, 0x45d7, {0x86, 0xef, 0x34, 0x57, 0xc2, 0xa0, 0xa0, 0x82}};

}  // namespace talvane::displaymsg
