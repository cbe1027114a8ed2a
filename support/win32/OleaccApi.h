#pragma once

#include <windows.h>
// after windows.h
#include <oleacc.h>

namespace talvane::win {

// The two calls of oleacc.dll that a window answering screen readers makes,
// loaded from System32 when first needed: oleacc is not one of the system's
// known DLLs, so a static import would be looked for beside the program
// first. Null members when the system lacks them; a window then answers
// no accessibility query of its own and the system's default object serves.
struct OleaccApi {
    decltype(&::LresultFromObject) LresultFromObject = nullptr;
    decltype(&::AccessibleObjectFromWindow) AccessibleObjectFromWindow = nullptr;
};

inline const OleaccApi& Oleacc() {
    static const OleaccApi api = [] {
        OleaccApi loaded;
        const HMODULE module = LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module == nullptr) return loaded;
        // GetProcAddress returns a generic pointer; the members name the real types.
        loaded.LresultFromObject = reinterpret_cast<decltype(loaded.LresultFromObject)>(
            reinterpret_cast<void*>(GetProcAddress(module, "LresultFromObject")));
        loaded.AccessibleObjectFromWindow =
            reinterpret_cast<decltype(loaded.AccessibleObjectFromWindow)>(
                reinterpret_cast<void*>(GetProcAddress(module, "AccessibleObjectFromWindow")));
        return loaded;
    }();
    return api;
}

}  // namespace talvane::win
