#include "tools/bench/pointer/BenchServices.h"

namespace talvane::bench {

namespace {

// Five events, three still to come (with badges) and two ended, with detail
// texts long enough to fill the balloons.
std::u16string eventPayload() {
    const char16_t* titles[] = {u"云计算时代的数据安全实践与合规要点解析",
                                u"企业存储架构优化：从规划到落地", u"DevOps 持续交付流水线实战分享",
                                u"新一代网络安全态势感知技术解析", u"虚拟化平台性能调优十大技巧"};
    std::u16string records;
    for (int i = 0; i < 5; ++i) {
        const std::u16string n(1, static_cast<char16_t>(u'1' + i));
        if (i > 0) {
            records += u"@@@@";
        }
        records += u"E20" + n + u"$$$$" + titles[i] + u"$$$$2026-12-1" + n + u"(14:30-16:00)$$$$" +
                   (i < 3 ? u"1" : u"0") + u"$$$$" + n +
                   u"86$$$$主讲：技术专家。\n从规划、实施到运维，" +
                   u"结合真实案例讲解关键步骤与常见问题，并现场解答听众提问。";
    }
    return u"v1||||999||||" + records;
}

}  // namespace

CannedEventService::CannedEventService(const CodePage& codePage)
    : page_(codePage.fromUnicode(u"<html><body><span id=\"lblTopics\">" + eventPayload() +
                                 u"</span></body></html>")) {}

FetchResult CannedEventService::get(std::u16string_view) {
    FetchResult result;
    result.status = FetchResult::Status::Ok;
    result.httpStatus = 200;
    result.body = page_;
    return result;
}

}  // namespace talvane::bench
