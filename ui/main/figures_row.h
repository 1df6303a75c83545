// The live figures of Frame1, characters / words: at their designed places while they are short;
// longer figures push the characters left and the words' box wider, so that any figure of up to
// seven digits, the slash and the words stay readable, apart and inside the frame.
#pragma once

class QLabel;
class QWidget;

namespace ui {

struct FiguresRow
{
    QLabel* characters = nullptr; // Label5
    QLabel* slash = nullptr;      // Label7
    QLabel* words = nullptr;      // Label8
};

// The three labels at their designed places in `frame`.
FiguresRow MakeFiguresRow(QWidget* frame);

// Lays out the figures between their left neighbour in the frame, the clear button, and the
// frame's right line.
void LayOutFiguresRow(const FiguresRow& figures, const QWidget* clearButton);

} // namespace ui
