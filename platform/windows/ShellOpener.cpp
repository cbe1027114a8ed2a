#include "platform/windows/ShellOpener.h"

#include <windows.h>
// windows.h first: shellapi.h builds on its types.
#include <shellapi.h>

#include <string>

#include "platform/windows/ComApartment.h"
#include "web/WebAddress.h"

namespace talvane {

OpenResult ShellOpener::open(std::u16string_view url) {
    if (!IsOpenableWebAddress(url)) {
        return {OpenResult::Status::Refused, "not an absolute http or https address"};
    }
    // The rule refuses quotes and blanks, so the address cannot end the
    // quoted "%1" on the handler's command line.
    const std::wstring address(url.begin(), url.end());
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
