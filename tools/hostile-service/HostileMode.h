#pragma once

#include <optional>
#include <string_view>

namespace talvane::hostile {

// How the service misbehaves; one mode for the whole run, every path alike.
enum class HostileMode {
    Silent,        // accepts, reads the request, never answers
    Trickle,       // a whole answer, one byte a second
    Huge,          // a 100 MiB body with no length announced
    Random,        // random bytes instead of an HTTP answer
    RandomPage,    // a proper answer whose spans hold random bytes
    InvalidGbk,    // spans full of byte sequences that are not GBK
    RedirectLoop,  // every request is sent back to itself
    Reset,         // reads the request, then resets the connection
    Flood,         // thousands of records, megabyte titles and details
    Separators,    // megabytes of nothing but separators
    RedirectAway,  // every request is sent on to another origin (127.0.0.2)
    ForeignLink,   // a proper page whose reminder links to another origin
};

std::optional<HostileMode> parseHostileMode(std::string_view name);
std::string_view hostileModeName(HostileMode mode);

// Every mode's name, for the usage text.
inline constexpr std::string_view kHostileModeNames =
    "silent trickle huge random random-page invalid-gbk redirect-loop reset flood separators "
    "redirect-away foreign-link";

// True for the modes that also listen on another origin, 127.0.0.2.
inline bool needsOtherOrigin(HostileMode mode) {
    return mode == HostileMode::RedirectAway || mode == HostileMode::ForeignLink;
}

}  // namespace talvane::hostile
