// Where windows go on the screen, as plain geometry: rectangles in the screen's logical pixels,
// frames as the window manager draws them.
#pragma once

#include <QMargins>
#include <QRect>

namespace ui {

// A window on the screen: its outer rectangle and its client area within it.
struct WindowPlace
{
    QRect frame;
    QRect client;

    // The strip above the client area: the title bar with its buttons.
    QRect titleBar() const
    {
        return {frame.left(), frame.top(), frame.width(), client.top() - frame.top()};
    }
};

// The client size of a window designed for `design`: the design's, or as much of it as the
// available area leaves beside the frame, with room for a scroll bar `scrollBar` thick across
// each side that the design does not fit. At `scale` device pixels to the pixel Qt asks the
// window manager to size a window in steps of a pixel rounded to device pixels (2 at 1.5), and
// openbox holds a window it resizes to them; a size cut to fit is cut to such a step.
QSize FitClientSize(const QSize& design, const QMargins& frame, const QRect& available,
                    int scrollBar, qreal scale);

// Where a frame of size `frame` goes centred within `available`, kept whole on it: a frame
// larger than the area keeps its top-left corner on it, and so its title bar and left edge.
QPoint CentredPlacement(const QSize& frame, const QRect& available);

// Where a secondary window of outer size `frame` first goes, whole within `available`. One that
// would cover its owner's title bar moves just below it, or above it, where the screen has
// room for that; whole on the screen comes first.
//
// Centred on the screen.
QPoint CentredOnScreen(const QSize& frame, const WindowPlace& owner, const QRect& available);
// Centred over the owner, as Qt places an owned window where the platform leaves that to it.
QPoint CentredOverOwner(const QSize& frame, const WindowPlace& owner, const QRect& available);
// Beside the owner: to its right, to its left, or over the top right of its client area;
// centred on the screen without an owner.
QPoint FirstPlacement(const QSize& frame, const WindowPlace& owner, const QRect& available);

} // namespace ui
