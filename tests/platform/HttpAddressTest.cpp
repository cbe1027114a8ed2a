#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/http/HttpAddress.h"

namespace talvane {
namespace {

// "scheme|host|port|target", or "-" when the address is refused.
std::string Parts(const std::optional<HttpAddress>& a) {
    if (!a) return "-";
    return a->scheme + "|" + a->host + "|" + std::to_string(a->port) + "|" + a->target;
}

TEST(HttpAddress, ParsesOnlyAbsoluteWebAddressesWithAHost) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"http://127.0.0.1:8765/a?b=c", "http|127.0.0.1|8765|/a?b=c"},
        {"HTTPS://Example.COM", "https|example.com|443|/"},
        {"http://h?q", "http|h|80|/?q"},
        {"http://h/p#frag", "http|h|80|/p"},
        {"http://[::1]:81/", "http|[::1]|81|/"},
        {"http://[::1]/", "http|[::1]|80|/"},
        // The real host of "a@b" is b: refused rather than shown wrongly.
        {"http://127.0.0.1:80@other/", "-"},
        {"http://:80/", "-"},
        {"http://h:0/", "-"},
        {"http://h:65536/", "-"},
        {"http://h:8x/", "-"},
        {"http:/h/", "-"},
        {"ftp://h/", "-"},
        {"//h/", "-"},
    };
    for (const auto& [wire, expected] : cases)
        EXPECT_EQ(Parts(ParseHttpAddress(wire)), expected) << wire;
}

TEST(HttpAddress, ResolvesEveryFormOfLocation) {
    const HttpAddress base = *ParseHttpAddress("http://h:81/dir/page?x=1");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"http://h:81/abs", "http|h|81|/abs"},
        {"https://h:81/", "https|h|81|/"},
        {"//other/x", "http|other|80|/x"},
        {"/root?y", "http|h|81|/root?y"},
        {"next", "http|h|81|/dir/next"},
        {"?y=2", "http|h|81|/dir/page?y=2"},
        {"/p#f", "http|h|81|/p"},
        {"ftp://h/", "-"},
        {"javascript:alert(1)", "-"},
    };
    for (const auto& [location, expected] : cases) {
        EXPECT_EQ(Parts(ResolveLocation(base, location)), expected) << location;
    }
}

TEST(HttpAddress, SameOriginNeedsSchemeHostAndPort) {
    const HttpAddress a = *ParseHttpAddress("http://h/x");
    EXPECT_TRUE(SameOrigin(a, *ParseHttpAddress("HTTP://H:80/y")));
    EXPECT_FALSE(SameOrigin(a, *ParseHttpAddress("https://h:80/")));
    EXPECT_FALSE(SameOrigin(a, *ParseHttpAddress("http://h:81/")));
    EXPECT_FALSE(SameOrigin(a, *ParseHttpAddress("http://g/")));
}

}  // namespace
}  // namespace talvane
