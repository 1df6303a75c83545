// The clock of time spent in the program: one second per tick, no pause and no reset.
// Toolkit-free; the main window shows its captions.
#pragma once

#include <cstdint>
#include <string>

namespace ui {

class WorkTimer
{
public:
    struct Captions
    {
        std::u16string seconds = u"00";
        std::u16string minutes = u"00";
        std::u16string hours = u"00";
        bool minutesVisible = false;
        bool hoursVisible = false;
    };

    void Tick();

    const Captions& captions() const { return captions_; }
    // What the captions show, in words a screen reader speaks as time ("1 минута 5 секунд"):
    // the shown fields only, the design's abbreviations spelled out.
    std::u16string spoken() const;
    int Seconds() const { return seconds_; }
    int Minutes() const { return minutes_; }
    // Never wraps, however long the program runs.
    std::int64_t Hours() const { return hours_; }

private:
    int seconds_ = 0;
    int minutes_ = 0;
    std::int64_t hours_ = 0;
    Captions captions_;
};

} // namespace ui
