#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "service/ServiceBaseUrl.h"

namespace talvane {
namespace {

TEST(ServiceBaseUrlProblem, RefusesAnythingButAWebAddress_NamingWhereItCameFrom) {
    const char* good[] = {"http://127.0.0.1:8765", "https://seminars.example.test/",
                          "HTTP://[::1]:80/base", "http://host:", "http://h.test./"};
    for (const char* url : good) {
        EXPECT_EQ(ServiceBaseUrlProblem(url), std::nullopt) << url;
        EXPECT_EQ(ServiceBaseUrlProblem(nullptr, url), std::nullopt) << url;
    }
    const char* bad[] = {"file:///etc",      "/",
                         "ftp://127.0.0.1/", "http://",
                         "127.0.0.1",        "http://a b/",
                         "http://u:p@host/", "http://h:0/",
                         "http://h:65536/",  "http://h\\@other/",
                         "javascript:x",     "http://%31/",
                         "http://[::1",      "http://h /"};
    for (const char* url : bad) {
        const std::optional<std::string> fromEnvironment = ServiceBaseUrlProblem(url);
        ASSERT_TRUE(fromEnvironment.has_value()) << url;
        EXPECT_EQ(fromEnvironment->rfind("TALVANE_SERVICE_URL must be ", 0), 0u)
            << *fromEnvironment;
        const std::optional<std::string> builtIn = ServiceBaseUrlProblem(nullptr, url);
        ASSERT_TRUE(builtIn.has_value()) << url;
        EXPECT_NE(builtIn->find("built-in service address (TALVANE_SERVICE_URL_DEFAULT)"),
                  std::string::npos)
            << *builtIn;
        EXPECT_NE(builtIn->find(std::string("'") + url + "'"), std::string::npos) << *builtIn;
    }
    // The environment wins over the built-in address, also an empty one.
    EXPECT_EQ(ServiceBaseUrlProblem("http://h/", "file:///x"), std::nullopt);
    EXPECT_TRUE(ServiceBaseUrlProblem("", "file:///x").has_value());
    EXPECT_EQ(ServiceBaseUrlProblem("\nfile:"),
              "TALVANE_SERVICE_URL must be an http or https "
              "address with a host name, not '?file:'");
}

}  // namespace
}  // namespace talvane
