// Lines broken as Qt's "word boundary, or anywhere" wrapping breaks them, in time that grows
// with the text. Qt looks for the next word boundary before it breaks a line anywhere, so each
// line of a long run without one scans the rest of the run: quadratic in a megabyte without a
// space. Here a line is broken anywhere only inside a run longer than LongRun characters, where
// no boundary can come within the line; everywhere else Qt breaks it, at word boundaries.
#pragma once

#include <QString>

class QTextLayout;

namespace ui {

inline constexpr int LongRun = 2000;

// What breaking lines took: the paragraphs laid out, the characters that line breaking may have
// examined, and the lines broken anywhere inside long runs.
struct LineBreakWork
{
    quint64 paragraphs = 0;
    quint64 charactersScanned = 0;
    quint64 linesInLongRuns = 0;
};

// Lays out all lines of `layout` (its text option set), whose text is `text`, at `width`, each
// at `left`, one below the other, and returns their height.
qreal BreakLines(QTextLayout& layout, const QString& text, qreal width, qreal left,
                 LineBreakWork& work);

} // namespace ui
