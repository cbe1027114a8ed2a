#pragma once

#include <optional>
#include <string>

namespace talvane {

// The service address this copy was built for (the build setting
// TALVANE_SERVICE_URL_DEFAULT; the demo service's for builds from source).
const char* BuiltInServiceBaseUrl();

// The value of TALVANE_SERVICE_URL (read by the program's composition) when
// it is set and not empty, else the built-in address; a trailing '/' is
// dropped because every path begins with one.
std::u16string ServiceBaseUrlFrom(const char* environmentValue,
                                  const char* builtIn = BuiltInServiceBaseUrl());

// Why the address ServiceBaseUrlFrom gives cannot serve: one line naming
// the setting it came from, or nothing when it is an http or https address
// with a host. The program refuses to start on such an address rather than
// hand a local path or another scheme to its HTTP client and browser.
std::optional<std::string> ServiceBaseUrlProblem(const char* environmentValue,
                                                 const char* builtIn = BuiltInServiceBaseUrl());

}  // namespace talvane
