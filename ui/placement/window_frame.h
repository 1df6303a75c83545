// The frame that the window manager draws around a window. It is known only once the window
// manager has framed the window: on X11 some time after the window is first mapped, which is
// after Qt has shown it, and Qt tells of it by no event; until then Qt reports no frame at all.
#pragma once

#include <QElapsedTimer>
#include <QMargins>
#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

namespace ui {

// The frame as the window system reads it now; nothing before the window is created.
QMargins FrameMargins(const QWidget* window);

// Moves a window so that its frame, taken to be `frame`, has its top-left corner at `place`,
// also while Qt does not know the frame yet (and so places the client area there).
void MoveFrameTo(QWidget* window, const QPoint& place, const QMargins& frame);

// Calls `changed` with a window's frame when the window is first shown, before the window
// system has it (with `estimate` standing in for a frame not known yet), and again once the
// window manager has framed it, if the frame differs.
class FrameWatch : public QObject
{
public:
    FrameWatch(QWidget* window, std::function<void(const QMargins&)> changed,
               QMargins estimate = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void look();

    QWidget* window_;
    std::function<void(const QMargins&)> changed_;
    QMargins estimate_;
    QMargins given_;
    QMargins lastLook_;
    QTimer poll_;
    QElapsedTimer looking_;
    bool shown_ = false;
};

} // namespace ui
