#include "window_frame.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace ui {

namespace {

// How often, and how long at most, to look for the frame after the first show: a window manager
// frames a new window within some tens of milliseconds, or seconds on a loaded machine. The
// looks grow rarer while they find no frame.
constexpr int FirstInterval = 20;     // ms
constexpr int LongestInterval = 1000; // ms
constexpr qint64 LookFor = 30'000;    // ms

} // namespace

QMargins FrameMargins(const QWidget* window)
{
    // The widget keeps the first frame it was told of until the window next moves; the window
    // system's own reading is the latest.
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

void MoveFrameTo(QWidget* window, const QPoint& place, const QMargins& frame)
{
    // QWidget::move() places the frame as the widget knows it.
    const QPoint known = window->geometry().topLeft() - window->frameGeometry().topLeft();
    window->move(place + QPoint(frame.left(), frame.top()) - known);
}

FrameWatch::FrameWatch(QWidget* window, std::function<void(const QMargins&)> changed,
                       QMargins estimate)
    : QObject(window), window_(window), changed_(std::move(changed)), estimate_(estimate)
{
    connect(&poll_, &QTimer::timeout, this, &FrameWatch::look);
    window->installEventFilter(this);
}

bool FrameWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_)
        return false;
    if (event->type() == QEvent::Show && !shown_) {
        shown_ = true;
        given_ = FrameMargins(window_);
        if (given_.isNull())
            given_ = estimate_;
        changed_(given_);
        looking_.start();
        poll_.start(FirstInterval);
    } else if (event->type() == QEvent::Hide) {
        poll_.stop();
    }
    return false;
}

// While the window manager frames the window, the frame read can be half made; it is taken once
// two looks in a row read the same. A window manager that draws no frame leaves the margins
// empty; after the last look, that is taken as its frame.
void FrameWatch::look()
{
    const QMargins frame = FrameMargins(window_);
    const bool steady = !frame.isNull() && frame == lastLook_;
    lastLook_ = frame;
    poll_.setInterval(frame.isNull() ? std::min(poll_.interval() * 3 / 2, LongestInterval)
                                     : FirstInterval);
    if (steady || looking_.hasExpired(LookFor)) {
        poll_.stop();
        if (frame != given_) {
            given_ = frame;
            changed_(frame);
        }
    }
}

} // namespace ui
