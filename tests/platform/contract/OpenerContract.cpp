#include "tests/platform/contract/OpenerContract.h"

#include <string>
#include <vector>

namespace talvane::contract {
namespace {

TEST_P(OpenerContract, RefusesAnythingButAbsoluteWebAddresses) {
    const std::vector<std::u16string> refused = {
        u"",
        u"www.example.test/a",
        u"/usr/bin/xterm",
        u"C:\\Windows\\System32\\calc.exe",
        u"\\\\server\\share\\run.exe",
        u"file:///etc/passwd",
        u"javascript:alert(1)",
        u"mailto:someone@example.test",
        u"ftp://127.0.0.1/",
        u"http:127.0.0.1",
        u"http:/127.0.0.1",
        u"http://",
        u"https:///etc/passwd",
        u"http://\\\\server\\share",
        u" http://127.0.0.1/",
        u"http://127.0.0.1/\nsecond",
        u"http://127.0.0.1/\x01",
    };
    auto opener = GetParam().make();
    for (const std::u16string& url : refused) {
        SCOPED_TRACE(std::string(url.begin(), url.end()));
        const OpenResult result = opener->open(url);
        EXPECT_EQ(result.status, OpenResult::Status::Refused);
        EXPECT_FALSE(result.reason.empty());
    }
}

}  // namespace
}  // namespace talvane::contract
