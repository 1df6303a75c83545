// Form2 "Опции...": font sizes of the upper and lower panes and the background colour of all
// three, applied to the main window at once.
#pragma once

#include <QWidget>

class QRadioButton;

namespace ui {

class ClickableSlider;
class TextPane;

// A pane's font size as a slider position: nearest whole number, an exact half to the even
// neighbour (12.5 gives 12), from the size kept to four decimal places.
int RoundFontSize(qreal points);

struct MainWindowPanes
{
    TextPane* newText;   // RichTextBox1, the lower working pane
    TextPane* source;    // RichTextBox2
    TextPane* auxiliary; // RichTextBox3
};

class OptionsWindow : public QWidget
{
    Q_OBJECT

public:
    OptionsWindow(QWidget* owner, MainWindowPanes panes);

private:
    void setUpperPaneFontSize();
    void setLowerPaneFontSize();

    MainWindowPanes panes_;
    ClickableSlider* upperSlider_ = nullptr; // Slider1
    ClickableSlider* lowerSlider_ = nullptr; // Slider2
};

} // namespace ui
