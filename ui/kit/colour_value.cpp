#include "colour_value.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace ui {

QColor ResolveColour(ColourValue value, const QPalette& palette)
{
    if ((value & 0x80000000u) == 0)
        return {int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF)};
    switch (value & 0xFFu) {
    case 5: // COLOR_WINDOW
        return palette.color(QPalette::Active, QPalette::Base);
    case 11: // COLOR_INACTIVEBORDER: the platform has none; the window face is its usual shade.
        return palette.color(QPalette::Inactive, QPalette::Window);
    case 14: // COLOR_HIGHLIGHTTEXT
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    default:
        return palette.color(QPalette::Active, QPalette::Window);
    }
}

void SetPaneBackground(QWidget* pane, ColourValue value)
{
    QPalette palette = pane->palette();
    const QColor colour = ResolveColour(value, QApplication::palette());
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Disabled, QPalette::Base, colour);
    pane->setPalette(palette);
}

} // namespace ui
