#include "tools/hostile-service/HostileMode.h"

#include <array>
#include <utility>

namespace talvane::hostile {
namespace {

constexpr std::array<std::pair<HostileMode, std::string_view>, 12> kNames{{
    {HostileMode::Silent, "silent"},
    {HostileMode::Trickle, "trickle"},
    {HostileMode::Huge, "huge"},
    {HostileMode::Random, "random"},
    {HostileMode::RandomPage, "random-page"},
    {HostileMode::InvalidGbk, "invalid-gbk"},
    {HostileMode::RedirectLoop, "redirect-loop"},
    {HostileMode::Reset, "reset"},
    {HostileMode::Flood, "flood"},
    {HostileMode::Separators, "separators"},
    {HostileMode::RedirectAway, "redirect-away"},
    {HostileMode::ForeignLink, "foreign-link"},
}};

}  // namespace

std::optional<HostileMode> parseHostileMode(std::string_view name) {
    for (const auto& [mode, text] : kNames) {
        if (text == name) return mode;
    }
    return std::nullopt;
}

std::string_view hostileModeName(HostileMode mode) {
    for (const auto& [known, text] : kNames) {
        if (known == mode) return text;
    }
    return "?";
}

}  // namespace talvane::hostile
