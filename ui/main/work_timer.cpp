#include "work_timer.h"

#include "analysis/analysis.h"

#include <string>

namespace ui {

namespace {

// A count with its noun in the form Russian gives that count: 1 минута, 2 минуты, 5 минут,
// 11 минут, 21 минута.
std::u16string Counted(std::int64_t count, std::u16string_view one, std::u16string_view few,
                       std::u16string_view many)
{
    const std::int64_t lastTwo = count % 100;
    const std::int64_t last = count % 10;
    std::u16string_view noun = many;
    if (last == 1 && lastTwo != 11)
        noun = one;
    else if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
        noun = few;
    const std::string digits = std::to_string(count);
    std::u16string words(digits.begin(), digits.end());
    words += u' ';
    words += noun;
    return words;
}

} // namespace

void WorkTimer::Tick()
{
    using analysis::FormatSignedNumber;

    ++seconds_;
    captions_.seconds = FormatSignedNumber(seconds_) + u"c"; // the design's Latin c
    if (seconds_ == 60) {
        captions_.minutesVisible = true;
        seconds_ = 0;
        captions_.seconds = FormatSignedNumber(0) + u"0" + u"c";
        ++minutes_;
        captions_.minutes = FormatSignedNumber(minutes_) + u"м";
    }
    if (minutes_ == 60) {
        minutes_ = 0;
        captions_.minutes = FormatSignedNumber(0) + u"м";
        ++hours_;
        captions_.hoursVisible = true;
        captions_.hours = FormatSignedNumber(hours_) + u"ч";
    }
}

std::u16string WorkTimer::spoken() const
{
    std::u16string words;
    if (captions_.hoursVisible)
        words += Counted(hours_, u"час", u"часа", u"часов") + u' ';
    if (captions_.minutesVisible)
        words += Counted(minutes_, u"минута", u"минуты", u"минут") + u' ';
    return words + Counted(seconds_, u"секунда", u"секунды", u"секунд");
}

} // namespace ui
