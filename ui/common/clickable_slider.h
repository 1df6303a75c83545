// A horizontal slider that reports clicks: a press and release of the mouse on it, the end of
// a drag of its thumb included. Keyboard moves change its position without a click.
#pragma once

#include <QMouseEvent>
#include <QSlider>

#include <functional>

namespace ui {

class ClickableSlider : public QSlider
{
public:
    explicit ClickableSlider(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent) {}

    void onClicked(std::function<void()> handler) { clicked_ = std::move(handler); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QSlider::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && clicked_)
            clicked_();
    }

private:
    std::function<void()> clicked_;
};

} // namespace ui
