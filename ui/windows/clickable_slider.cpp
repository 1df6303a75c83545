#include "clickable_slider.h"

#include <QPainter>
#include <QStyleOptionSlider>

#include <algorithm>

namespace ui {

void ClickableSlider::paintEvent(QPaintEvent* /*event*/)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    // The style draws the groove and the thumb; its ticks are left out because their colour
    // depends on the Qt release (a grey that vanishes on the face in Qt 6.8).
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    QPainter painter(this);
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
    if (tickPosition() == NoTicks)
        return;

    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int travel = width() - handle.width();
    // How far from the edge the ticks begin; each ends two pixels short of the edge, the ends of
    // the scale one pixel nearer.
    const int reach = style()->pixelMetric(QStyle::PM_SliderTickmarkOffset, &option, this);
    // Without an interval of its own the scale is marked at each page step.
    const int interval = tickInterval() > 0 ? tickInterval() : std::max(pageStep(), 1);
    painter.setPen(palette().color(QPalette::WindowText));
    // Counted wider than int, so that the step past a maximum near the limit cannot overflow.
    for (qint64 value = minimum(); value <= maximum(); value += interval) {
        const int x = QStyle::sliderPositionFromValue(minimum(), maximum(), static_cast<int>(value),
                                                      travel, option.upsideDown) +
                      handle.width() / 2;
        const int gap = value == minimum() || value == maximum() ? 1 : 2;
        if (tickPosition() & TicksAbove)
            painter.drawLine(x, gap, x, reach);
        if (tickPosition() & TicksBelow)
            painter.drawLine(x, height() - 1 - reach, x, height() - 1 - gap);
    }
}

} // namespace ui
