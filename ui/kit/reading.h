// How a screen reader reads the design's values that stand beside their captions: a value is read
// as one phrase with its caption ("Количество слов: 27"), and what only makes up such a phrase (a
// caption read with its value, a slash between two figures) is left out of what it reads.
#pragma once

#include <QList>
#include <QString>

class QLabel;
class QWidget;

namespace ui {

// `parts`, the texts of those shown joined by spaces after `caption`, are read as one phrase
// where the last of them stands; the others are left out. Call before the window is shown.
void ReadAsOne(const QString& caption, const QList<QLabel*>& parts);
void LeaveOutOfReading(QWidget* widget);

} // namespace ui
