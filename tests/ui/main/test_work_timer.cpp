#include "ui/main/work_timer.h"

#include <gtest/gtest.h>

namespace {

struct ClockCase
{
    int ticks;
    std::u16string seconds;
    std::u16string minutes; // empty: hidden
    std::u16string hours;   // empty: hidden
};

void PrintTo(const ClockCase& c, std::ostream* os)
{
    *os << c.ticks << " ticks";
}

class WorkTimerTest : public testing::TestWithParam<ClockCase>
{
};

TEST_P(WorkTimerTest, CaptionsAfterTicks)
{
    ui::WorkTimer timer;
    for (int i = 0; i < GetParam().ticks; ++i)
        timer.Tick();
    const ui::WorkTimer::Captions& captions = timer.captions();
    EXPECT_EQ(captions.seconds, GetParam().seconds);
    EXPECT_EQ(captions.minutesVisible, !GetParam().minutes.empty());
    if (captions.minutesVisible) {
        EXPECT_EQ(captions.minutes, GetParam().minutes);
    }
    EXPECT_EQ(captions.hoursVisible, !GetParam().hours.empty());
    if (captions.hoursVisible) {
        EXPECT_EQ(captions.hours, GetParam().hours);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, WorkTimerTest,
    testing::Values(ClockCase{0, u"00", u"", u""}, ClockCase{1, u" 1c", u"", u""},
                    ClockCase{59, u" 59c", u"", u""}, ClockCase{60, u" 00c", u" 1м", u""},
                    ClockCase{61, u" 1c", u" 1м", u""}, ClockCase{600, u" 00c", u" 10м", u""},
                    ClockCase{3599, u" 59c", u" 59м", u""},
                    ClockCase{3600, u" 00c", u" 0м", u" 1ч"},
                    ClockCase{3660, u" 00c", u" 1м", u" 1ч"},
                    ClockCase{7200, u" 00c", u" 0м", u" 2ч"},
                    ClockCase{7201, u" 1c", u" 0м", u" 2ч"}));

TEST(WorkTimer, FieldsCarryAtSixty)
{
    ui::WorkTimer timer;
    for (int i = 0; i < 3600 + 60 + 1; ++i)
        timer.Tick();
    EXPECT_EQ(timer.Seconds(), 1);
    EXPECT_EQ(timer.Minutes(), 1);
    EXPECT_EQ(timer.Hours(), 1);
}

TEST(WorkTimer, SecondsSuffixIsLatinC)
{
    ui::WorkTimer timer;
    timer.Tick();
    EXPECT_EQ(timer.captions().seconds.back(), u'\u0063');
}

} // namespace
