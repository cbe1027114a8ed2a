#include "service/VisitReport.h"

#include <exception>
#include <string>

#include "service/PageFetch.h"
#include "service/Utf16Text.h"

namespace talvane {

namespace {

// Runs one step of the report; whatever goes wrong in it, the next step runs.
template <typename Step>
void IgnoringFailure(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

void SendVisit(const ServiceContext& ctx, std::u16string_view sysNumber) {
    std::u16string url;
    IgnoringFailure([&] {
        url = ctx.baseUrl;
        url += u"/EndUsers/visit.aspx?id=";
        url += sysNumber;
        url += u"&sjs=";
        url += DecimalText(NewCacheBuster(ctx.random));
    });

    // A failed address or request still ends in the decode below: the report
    // goes through the same steps whatever happens to it.
    std::string body;
    IgnoringFailure([&] { body = ctx.http.get(url).body; });
    // Decoded like every page and then dropped: the report's answer is never used.
    IgnoringFailure([&] { (void)ctx.codePage.toUnicode(body); });
}

}  // namespace talvane
