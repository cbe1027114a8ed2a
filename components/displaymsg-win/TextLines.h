#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace talvane::displaymsg {

// text in the font selected into dc, broken into lines no wider than width:
// at spaces where it can and anywhere where it must (Chinese has no
// spaces); at most maxLines lines, the last one ending in "…" when the text
// goes on.
std::vector<std::wstring> wrapLines(HDC dc, const std::wstring& text, int width, int maxLines);

}  // namespace talvane::displaymsg
