// The designs' colour values: 0x00BBGGRR, or 0x800000nn for the system colour with index nn.
#pragma once

#include <QColor>

class QPalette;
class QWidget;

namespace ui {

using ColourValue = quint32;
constexpr ColourValue SystemColour(int index)
{
    return 0x80000000u | static_cast<ColourValue>(index);
}
constexpr ColourValue Rgb(int red, int green, int blue)
{
    return static_cast<ColourValue>(red | (green << 8) | (blue << 16));
}
inline constexpr ColourValue ColourWindow = SystemColour(5);
inline constexpr ColourValue ColourInactiveBorder = SystemColour(11);
inline constexpr ColourValue ColourHighlightText = SystemColour(14);
inline constexpr ColourValue DarkGreen = Rgb(0, 64, 0);

// Resolves system colours through the palette at the time of drawing.
QColor ResolveColour(ColourValue value, const QPalette& palette);

// Gives a text pane the background `value`. System colours are the platform's, resolved from
// the application's palette: not the dark green a pane inherits from its window, nor a colour
// the pane was given before.
void SetPaneBackground(QWidget* pane, ColourValue value);

} // namespace ui
