// A group box drawn as the design lays out its controls: the caption at the top left, the frame
// line through the middle of the caption, and the inside in the window's own colour, so every
// control placed inside the box stands inside its frame.
#pragma once

#include <QGroupBox>

namespace ui {

class FrameBox : public QGroupBox
{
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;

    // The caption's text, with the gap kept free of the line around it.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where the frame's top line runs, in the box's coordinates.
    int frameTop() const;
};

} // namespace ui
