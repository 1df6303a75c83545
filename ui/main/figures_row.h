// The live figures of Frame1, characters / words: at their designed places while they are short;
// longer figures push the characters left and the words' box wider, so that any figure of up to
// seven digits, the slash and the words stay readable, apart and inside the frame.
#pragma once

class QLabel;

namespace ui {

// Lays out the three labels between `left` and `right` (exclusive) in their parent's coordinates.
void LayOutFiguresRow(QLabel* characters, QLabel* slash, QLabel* words, int left, int right);

} // namespace ui
