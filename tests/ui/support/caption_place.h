// Where a control draws its caption, with the room the style keeps around the text: a test
// tells from it whether the control's box holds the caption whole.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace uitest {

// The caption of a label, a button, a group box or a line edit; empty for other controls.
inline QString CaptionText(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(control))
        return frame->title();
    if (const auto* field = qobject_cast<const QLineEdit*>(control))
        return field->text();
    return {};
}

// Where the caption is drawn, in the control's own coordinates: a label's as aligned in its box,
// a push button's centred with the button's margin, a check or option button's after its
// indicator, a group box's at the top and 10 pixels in, a line edit's inside its frame. Null
// for a control without a caption.
inline QRect CaptionPlace(const QWidget* control)
{
    const QString text = CaptionText(control);
    if (text.isEmpty())
        return {};
    const QFontMetrics metrics = control->fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    const QStyle* style = control->style();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return style->itemTextRect(metrics, label->contentsRect(), int(label->alignment()), true,
                                   text);
    if (qobject_cast<const QPushButton*>(control)) {
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, control);
        QRect place(0, 0, width + margin, metrics.height());
        place.moveCenter(control->rect().center());
        return place;
    }
    if (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control)) {
        const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control);
        const int spacing = style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, control);
        return {indicator + spacing, (control->height() - metrics.height()) / 2, width,
                metrics.height()};
    }
    if (qobject_cast<const QGroupBox*>(control))
        return {10, 0, width, metrics.height()};
    if (qobject_cast<const QLineEdit*>(control))
        return {3, (control->height() - metrics.height()) / 2, width, metrics.height()};
    return {};
}

} // namespace uitest
