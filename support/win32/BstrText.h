#pragma once

#include <oleauto.h>

#include <string>

namespace talvane::win {

// Automation strings to and from the UTF-16 text the program keeps. A BSTR
// carries its length, so an embedded U+0000 survives both ways.
inline std::u16string TextFromBstr(BSTR text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

// Null only when memory ran out (an empty text gives an empty BSTR).
inline BSTR BstrFromText(const std::u16string& text) {
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), UINT(text.size()));
}

}  // namespace talvane::win
