// A horizontal slider that reports clicks: a press and release of the mouse on it, the end of
// a drag of its thumb included. Keyboard moves change its position without a click. Its ticks
// are drawn in its text colour, as the common control draws them, whatever colour the style
// of this Qt release would give them.
#pragma once

#include <QMouseEvent>
#include <QSlider>

namespace ui {

class ClickableSlider : public QSlider
{
    Q_OBJECT

public:
    explicit ClickableSlider(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent) {}

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QSlider::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            emit clicked();
    }
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
