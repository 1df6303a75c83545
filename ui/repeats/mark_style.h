// What the marks of the repeats look like. The tint tells which source a mark repeats (warm for
// the first, cool for the second) and the underline what kind of repeat it is (a solid line for
// the exact words, a wave for the same words in other forms), so that no mark is told by its hue
// alone. Every mark is black text on a light tint: readable on any pane colour.
#pragma once

#include "analysis/repeat_tracker.h"

#include <QColor>
#include <QString>
#include <QTextCharFormat>

#include <cstdint>

namespace ui {

enum class MarkSource : std::uint8_t
{
    First,  // the source pane, compared by the design's command
    Second, // the auxiliary pane
};

QTextCharFormat MarkFormat(MarkSource source, analysis::RepeatKind kind);
// What assistive technology reads of a mark, as "name:value;" text attributes: what the eye sees,
// in the names Qt gives a text's formats, and, since a screen reader announces of all a text's
// attributes only a spelling error's, the attribute a spell checker gives a misspelt word.
QString MarkAttributes(MarkSource source, analysis::RepeatKind kind);
// The colour of a mark's place on the scroll bar's groove.
QColor StripColour(MarkSource source, analysis::RepeatKind kind);

} // namespace ui
