// What a hostile payload costs the parsers in heap: only the pieces that are
// used may be cut out, so megabytes of separators or thousands of records
// must not turn into millions of strings. Every allocation of this test
// executable is counted.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <new>
#include <string>

#include "service/EventList.h"
#include "service/Reminders.h"

namespace {

std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void* counted(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    liveBytes += malloc_usable_size(block);
    if (liveBytes > peakBytes) peakBytes = liveBytes;
    return block;
}

void released(void* block) {
    if (block == nullptr) return;
    liveBytes -= malloc_usable_size(block);
    std::free(block);
}

// The most the heap held at once while `work` ran, beyond what it held before.
template <typename Work>
std::size_t PeakDuring(Work&& work) {
    const std::size_t before = liveBytes;
    peakBytes = before;
    work();
    return peakBytes - before;
}

constexpr std::size_t kMiB = 1024 * 1024;

}  // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void operator delete(void* block) noexcept { released(block); }
void operator delete[](void* block) noexcept { released(block); }
void operator delete(void* block, std::size_t) noexcept { released(block); }
void operator delete[](void* block, std::size_t) noexcept { released(block); }

namespace talvane {
namespace {

TEST(PayloadCost, ParseEventList_CutsOnlyTheUsedPieces_OfMegabytesOfSeparators) {
    std::u16string payload = u"tag||||0||||";
    for (int i = 0; i < 2'000'000; ++i) payload += u"@@@@";
    for (int i = 0; i < 2'000'000; ++i) payload += u"||||";
    RowTable rows;
    const std::size_t peak = PeakDuring([&] {
        const EventListResult result = ParseEventList(payload, u"http://127.0.0.1", u"id", rows);
        EXPECT_EQ(result.rowsFilled, 0);
        EXPECT_TRUE(result.footerCaption.has_value());
    });
    EXPECT_LT(peak, 64u * 1024) << "heap peak while parsing 32 MiB of separators";
}

TEST(PayloadCost, ParseEventList_CopiesOnlyWhatTheRowsKeep_OfMegabyteFields) {
    const std::u16string huge(kMiB, u'x');
    std::u16string payload = u"tag||||10000||||";
    for (int r = 0; r < 10'000; ++r) {
        if (r > 0) payload += u"@@@@";
        const std::u16string& big = r < 5 ? huge : std::u16string(u"f");
        payload += big + u"$$$$" + big + u"$$$$" + big + u"$$$$1$$$$" + big + u"$$$$" + big;
    }
    RowTable rows;
    const std::size_t peak = PeakDuring([&] {
        EXPECT_EQ(ParseEventList(payload, u"http://127.0.0.1", u"id", rows).rowsFilled, 5);
    });
    // Each row keeps its detail, time line, status line and two URLs whole
    // (five megabyte texts per row); the title is cut to 33 units.
    const std::size_t kept = 5 * 5 * huge.size() * sizeof(char16_t);
    EXPECT_LT(peak, kept + kept / 2) << "heap peak while parsing " << payload.size() << " units";
}

TEST(PayloadCost, BuildAlertMessage_LooksAtFiveElementsOnly_OfAMillionSeparators) {
    std::u16string text;
    for (int i = 0; i < 1'000'000; ++i) text += u"&&&&";
    const std::size_t peak =
        PeakDuring([&] { EXPECT_EQ(BuildAlertMessage(text), u"||||||||||||||||||||||||"); });
    EXPECT_LT(peak, 4u * 1024);
}

}  // namespace
}  // namespace talvane
