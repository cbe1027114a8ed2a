#include "platform/windows/ShellOpener.h"

#include <windows.h>
// windows.h first: shellapi.h builds on its types.
#include <shellapi.h>

#include <string>

#include "platform/WebAddress.h"
#include "platform/windows/ComApartment.h"

namespace talvane {
namespace {

// The handler receives the address inside a quoted "%1" on its command line:
// a quote or a blank must not end it there. Browsers read the escaped forms
// as the same address.
std::wstring escapedForCommandLine(std::u16string_view url) {
    std::wstring text;
    text.reserve(url.size());
    for (char16_t c : url) {
        if (c == u'"') {
            text += L"%22";
        } else if (c == u' ') {
            text += L"%20";
        } else {
            text.push_back(static_cast<wchar_t>(c));
        }
    }
    return text;
}

}  // namespace

OpenResult ShellOpener::open(std::u16string_view url) {
    if (!IsOpenableWebAddress(url)) {
        return {OpenResult::Status::Refused, "not an absolute http or https address"};
    }
    const std::wstring address = escapedForCommandLine(url);
    // The handler may be a shell extension, a COM object: the program joins
    // an apartment only where it needs one, and this is one.
    const ComApartment apartment;
    const auto code = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_HIDE));
    // Values up to 32 are errors; the handler's own fate is not reported.
    if (code <= 32) {
        return {OpenResult::Status::Failed, "ShellExecuteW: error " + std::to_string(code)};
    }
    return {OpenResult::Status::Started, {}};
}

}  // namespace talvane
