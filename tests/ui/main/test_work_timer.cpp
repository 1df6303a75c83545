#include "ui/main/work_timer.h"

#include <gtest/gtest.h>

namespace {

struct ClockCase
{
    int ticks;
    std::u16string seconds;
    std::u16string minutes; // empty: hidden
    std::u16string hours;   // empty: hidden
    std::u16string spoken;
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
    EXPECT_EQ(timer.spoken(), GetParam().spoken);
}

// The seconds' suffix is the Latin c, as the design has it, not the Cyrillic с.
INSTANTIATE_TEST_SUITE_P(
    Ticks, WorkTimerTest,
    testing::Values(
        ClockCase{0, u"00", u"", u"", u"0 секунд"}, ClockCase{1, u" 1c", u"", u"", u"1 секунда"},
        ClockCase{2, u" 2c", u"", u"", u"2 секунды"}, ClockCase{5, u" 5c", u"", u"", u"5 секунд"},
        ClockCase{11, u" 11c", u"", u"", u"11 секунд"},
        ClockCase{14, u" 14c", u"", u"", u"14 секунд"},
        ClockCase{21, u" 21c", u"", u"", u"21 секунда"},
        ClockCase{24, u" 24c", u"", u"", u"24 секунды"},
        ClockCase{59, u" 59c", u"", u"", u"59 секунд"},
        ClockCase{60, u" 00c", u" 1м", u"", u"1 минута 0 секунд"},
        ClockCase{61, u" 1c", u" 1м", u"", u"1 минута 1 секунда"},
        ClockCase{600, u" 00c", u" 10м", u"", u"10 минут 0 секунд"},
        ClockCase{3599, u" 59c", u" 59м", u"", u"59 минут 59 секунд"},
        ClockCase{3600, u" 00c", u" 0м", u" 1ч", u"1 час 0 минут 0 секунд"},
        ClockCase{3660, u" 00c", u" 1м", u" 1ч", u"1 час 1 минута 0 секунд"},
        ClockCase{7200, u" 00c", u" 0м", u" 2ч", u"2 часа 0 минут 0 секунд"},
        ClockCase{7201, u" 1c", u" 0м", u" 2ч", u"2 часа 0 минут 1 секунда"},
        ClockCase{18000, u" 00c", u" 0м", u" 5ч", u"5 часов 0 минут 0 секунд"},
        ClockCase{75600 + 22 * 60, u" 00c", u" 22м", u" 21ч", u"21 час 22 минуты 0 секунд"}));

TEST(WorkTimer, FieldsCarryAtSixty)
{
    ui::WorkTimer timer;
    for (int i = 0; i < 3600 + 60 + 1; ++i)
        timer.Tick();
    EXPECT_EQ(timer.Seconds(), 1);
    EXPECT_EQ(timer.Minutes(), 1);
    EXPECT_EQ(timer.Hours(), 1);
}

} // namespace
