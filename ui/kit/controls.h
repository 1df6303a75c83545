// The controls as the designs lay them out: each with its design name as object name, its
// place and its tooltip.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace ui {

template <typename Control>
Control* MakeControl(QWidget* parent, const char* name, const QRect& place,
                     const QString& toolTip = {})
{
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(place);
    if (!toolTip.isEmpty())
        control->setToolTip(toolTip);
    return control;
}

// A label's text stands at the top left of its box, as the design's labels draw it.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                  const QString& toolTip = {});

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& place,
                        const QFont& font, const QString& toolTip = {});

// A label that sizes itself to its text, keeping its top-left corner.
void SetAutoSizedText(QLabel* label, const QString& text);
// A label sized to its text from the top-left corner of its designed place.
QLabel* MakeAutoSizedLabel(QWidget* parent, const char* name, const QString& text,
                           const QRect& place, const QString& toolTip = {});

} // namespace ui
