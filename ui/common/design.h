// The design's units and looks turned into Qt: twips, 0x00BBGGRR colour values with system
// colours, substituted fonts, and the controls as the designs lay them out.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QAbstractButton;
class QLabel;
class QPushButton;
class QPalette;
class QWidget;

namespace ui {

// 15 twips are one logical pixel; Qt's high-DPI scaling does the rest.
constexpr int TwipsToPixels(int twips)
{
    return (twips + 7) / 15;
}
QRect TwipsRect(int left, int top, int width, int height);

// 0x00BBGGRR, or 0x800000nn for the system colour with index nn.
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

// A design font; the Windows families are mapped to installed fonts of close metrics.
QFont DesignFont(const QString& family, qreal pointSize, bool bold = false, bool italic = false);
QFont LabelFont(); // MS Sans Serif 8.25 pt

// Dark-green background with captions in the highlighted-text colour, for a window and the
// labels, group boxes and check boxes on it.
void ApplyWindowLook(QWidget* window);

// Creates a child control with its design name, place and tooltip. A label's text stands at the
// top left of its box, as the design's labels draw it.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                  const QString& toolTip = {});
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

// A font size as a whole number: nearest, an exact half to the even neighbour (12.5 gives 12).
int RoundFontSize(qreal points);

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& place,
                        const QFont& font, const QString& toolTip = {});

// Sets a window's caption so that the title bar shows exactly it: "[*]" stays literal, and an
// empty caption stays empty (Qt and window managers put a name into an empty title, so an empty
// caption goes out as a single zero-width space, which every title bar draws as nothing).
void SetWindowCaption(QWidget* window, const QString& caption);
inline constexpr QChar EmptyTitle = QChar(0x200B);

// A secondary window of the design: its name, caption and look; destroyed when it closes.
void SetUpSecondaryWindow(QWidget* window, const char* name, const QString& caption);
void CentreOnScreen(QWidget* window);

// A label that sizes itself to its text, keeping its top-left corner.
void SetAutoSizedText(QLabel* label, const QString& text);

} // namespace ui
