// How a screen reader reads the design's values that stand beside their captions: a value is read
// as one phrase with its caption ("Количество слов: 27"), and what only makes up such a phrase (a
// caption read with its value, a slash between two figures) is left out of what it reads. And
// what a screen reader says of the widget the writer is in, beyond what it shows.
#pragma once

#include <QList>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

namespace ui {

// `parts`, the texts of those shown joined by spaces after `caption`, are read as one phrase
// where the last of them stands; the others are left out. Call before the window is shown.
void ReadAsOne(const QString& caption, const QList<QLabel*>& parts);
// `label` is read as `caption` and what `words` gives when a reader asks, for a value whose shown
// form a reader would misread (the clock's abbreviations).
void ReadAs(QLabel* label, const QString& caption, std::function<QString()> words);
void LeaveOutOfReading(QWidget* widget);

// Sets the widget's accessible description, which a screen reader speaks as it changes while the
// widget has the focus; empty words only clear it.
void SayOfFocused(QWidget* widget, const QString& words);
// Tells a screen reader that the text attributes of the widget's text changed.
void TellReadersOfNewAttributes(QWidget* widget);

} // namespace ui
