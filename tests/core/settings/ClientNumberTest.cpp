#include "settings/ClientNumber.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/settings/SettingsFixture.h"
#include "tests/fakes/FakeClock.h"
#include "tests/fakes/FakeRandom.h"

namespace talvane {
namespace {

using testing::FakeClock;
using testing::FakeRandom;
using testing::SettingsFixture;

const LocalDateTime kExampleTime{2008, 12, 5, 9, 3, 7, 5};

FakeRandom ExampleDraws() {
    return FakeRandom({FakeRandom::drawFor(12), FakeRandom::drawFor(30000)});
}

// Each reading gives other values, and writes 'C' into the random log, so a
// test sees which reading fed which field and how readings and draws
// interleave.
class SteppingClock : public Clock {
  public:
    explicit SteppingClock(std::vector<char>& log) : log_(log) {}
    LocalDateTime now() const override {
        log_.push_back('C');
        ++readings_;
        return {2000 + readings_, readings_, 10 + readings_, 10 + readings_, 20 + readings_,
                30 + readings_,   1};
    }

  private:
    std::vector<char>& log_;
    mutable int readings_ = 0;
};

TEST(NewClientNumber, JoinsDrawAndLocalTimeAndDraw) {
    FakeClock clock(kExampleTime);
    FakeRandom random = ExampleDraws();
    EXPECT_EQ(NewClientNumber(clock, random), u"000122008120509030730000");
}

TEST(NewClientNumber, ReadsTheClockOncePerField_ThenReseedsBeforeEachDraw) {
    FakeRandom random = ExampleDraws();
    SteppingClock clock(random.log);
    // year from reading 1, month 2, day 3, hour 4, minute 5, second 6.
    EXPECT_EQ(NewClientNumber(clock, random),
              u"00012"
              u"2001"
              u"02"
              u"13"
              u"14"
              u"25"
              u"36"
              u"30000");
    EXPECT_EQ(std::string(random.log.begin(), random.log.end()), "CCCCCCSDSD");
}

TEST(PadZeros, PadsOnTheLeft_AndNeverCuts) {
    EXPECT_EQ(PadZeros(u"7", 2), u"07");
    EXPECT_EQ(PadZeros(u"2008", 4), u"2008");
    EXPECT_EQ(PadZeros(u"123456", 5), u"123456");
    EXPECT_EQ(PadZeros(u"", 3), u"000");
    EXPECT_EQ(PadZeros(u"5", 0), u"5");
    EXPECT_EQ(PadZeros(u"5", -3), u"5");
    const std::u16string huge(40000, u'x');  // longer than a 16-bit count
    EXPECT_EQ(PadZeros(huge, 5), huge);
}

struct StoredCase {
    std::string stored;  // the sysNumber line's value as bytes in the file
    bool kept;
};

TEST(LoadClientNumber, KeepsExactly24Characters_AndReplacesAnyOtherLength) {
    const std::vector<StoredCase> cases = {
        {"123456789012345678901234", true},
        {"abcdefghijklmnopqrstuvwx", true},      // not digits, still kept
        {"  123456789012345678901234  ", true},  // blanks trimmed first
        {"12345678901234567890123", false},      // 23
        {"1234567890123456789012345", false},    // 25
        {"", false},                             // empty
        {"Unknown Value", false},                // not the default
        {std::string(600, '5'), false},          // cut to 499
    };
    for (const auto& c : cases) {
        SettingsFixture s;
        const std::string before =
            "; own comment\r\n[SystemSetting]\r\nsysNumber=" + c.stored + "\r\nother=kept\r\n";
        s.store(before);
        // What decides whether a read-only copy's own file is read at all.
        EXPECT_EQ(HoldsClientNumber(s.ctx), c.kept) << c.stored;
        FakeClock clock(kExampleTime);
        FakeRandom random = ExampleDraws();
        std::u16string sysNumber;
        LoadClientNumber(sysNumber, s.ctx, clock, random);
        if (c.kept) {
            EXPECT_EQ(sysNumber.size(), 24u) << c.stored;
            EXPECT_EQ(s.stored(), before) << c.stored;
            EXPECT_TRUE(random.log.empty()) << c.stored;
        } else {
            EXPECT_EQ(sysNumber, u"000122008120509030730000") << c.stored;
            EXPECT_EQ(s.stored(),
                      "; own comment\r\n[SystemSetting]\r\nsysNumber=000122008120509030730000"
                      "\r\nother=kept\r\n")
                << c.stored;
        }
    }
}

TEST(LoadClientNumber, LeavesUnknownValue_WhenFileOrKeyIsMissing) {
    SettingsFixture s;
    FakeClock clock(kExampleTime);
    FakeRandom random = ExampleDraws();
    std::u16string sysNumber;
    LoadClientNumber(sysNumber, s.ctx, clock, random);
    EXPECT_EQ(sysNumber, u"unknown value");
    EXPECT_FALSE(testing::Exists(s.file()));
    EXPECT_FALSE(HoldsClientNumber(s.ctx));

    s.store("[systemsetting]\nsysnumber2=1\n");
    LoadClientNumber(sysNumber, s.ctx, clock, random);
    EXPECT_EQ(sysNumber, u"unknown value");
    EXPECT_EQ(s.stored(), "[systemsetting]\nsysnumber2=1\n");
    EXPECT_EQ(clock.readings, 0);
    EXPECT_TRUE(random.log.empty());
}

}  // namespace
}  // namespace talvane
