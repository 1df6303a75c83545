#include "work_timer.h"

#include "analysis/analysis.h"

namespace ui {

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

} // namespace ui
