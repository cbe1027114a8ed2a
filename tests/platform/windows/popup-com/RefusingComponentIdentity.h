#pragma once

#include <objbase.h>
#include <windows.h>

namespace talvane::test {

// {B3B8D74D-E900-4BE4-8CEC-DFBC32E88CAF}, declared in the test's manifest.
inline constexpr CLSID kRefusingClsid = {
    0xb3b8d74d, 0xe900, 0x4be4, {0x8c, 0xec, 0xdf, 0xbc, 0x32, 0xe8, 0x8c, 0xaf}};

}  // namespace talvane::test
