#include "service/VisitReport.h"

#include <exception>
#include <memory>
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

    // Each step creates the object when an earlier creation failed, so a
    // failed step never keeps the later ones from being tried.
    std::unique_ptr<HttpRequest> request;
    const auto ensureObject = [&] {
        if (!request) request = ctx.http.create();
    };
    IgnoringFailure([&] {
        ensureObject();
        if (request) request->open("get", url, false);
    });
    IgnoringFailure([&] {
        ensureObject();
        if (request) request->send();
    });
    std::string body;
    IgnoringFailure([&] {
        ensureObject();
        if (request) request->responseBody(body);
    });
    // Decoded like every page and then dropped: the report's answer is never used.
    IgnoringFailure([&] { (void)ctx.codePage.toUnicode(body); });
}

}  // namespace talvane
