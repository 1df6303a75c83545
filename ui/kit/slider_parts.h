#pragma once

#include <QAbstractSlider>
#include <QRect>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace ui {

// Where the style draws a part of a slider or scroll bar (its thumb, groove, trough or arrows),
// in the control's own coordinates. Header-only: the desktop pass's probe, loaded into the
// program, reads the panes' thumbs with it without linking the kit a second time.
inline QRect SliderPart(const QAbstractSlider* slider, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.upsideDown = slider->invertedAppearance();
    if (slider->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    const auto* withTicks = qobject_cast<const QSlider*>(slider);
    if (withTicks)
        option.tickPosition = withTicks->tickPosition();
    return slider->style()->subControlRect(withTicks ? QStyle::CC_Slider : QStyle::CC_ScrollBar,
                                           &option, part, slider);
}

} // namespace ui
