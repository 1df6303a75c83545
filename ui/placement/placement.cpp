#include "placement.h"

#include <algorithm>

namespace ui {

namespace {

bool Fits(const QPoint& place, const QSize& frame, const WindowPlace& owner, const QRect& available)
{
    const QRect rect(place, frame);
    return available.contains(rect) && !rect.intersects(owner.titleBar());
}

// The top-left corner of `frame` moved the least to lie wholly within `available`.
QPoint KeepWhole(const QRect& frame, const QRect& available)
{
    const auto axis = [](int place, int size, int first, int extent) {
        return std::max(first, std::min(place, first + extent - size));
    };
    return {axis(frame.x(), frame.width(), available.x(), available.width()),
            axis(frame.y(), frame.height(), available.y(), available.height())};
}

// Where a window that asks to stand at `wanted` goes: there if it lies whole and clear of the
// owner's title bar, else just below or above that title bar, else where it lies whole.
QPoint ClearOfTitleBar(const QPoint& wanted, const QSize& frame, const WindowPlace& owner,
                       const QRect& available)
{
    const QPoint whole = KeepWhole(QRect(wanted, frame), available);
    const QRect titleBar = owner.titleBar();
    for (const QPoint& place : {whole, QPoint(whole.x(), titleBar.bottom() + 1),
                                QPoint(whole.x(), titleBar.top() - frame.height())}) {
        if (Fits(place, frame, owner, available))
            return place;
    }
    return whole;
}

} // namespace

QSize FitClientSize(const QSize& design, const QMargins& frame, const QRect& available,
                    int scrollBar, qreal scale)
{
    const QSize room = available.size().shrunkBy(frame);
    bool across = design.width() > room.width(); // a horizontal scroll bar
    bool down = design.height() > room.height(); // a vertical one
    // Either scroll bar takes room that the other direction may then lack.
    across = across || (down && design.width() + scrollBar > room.width());
    down = down || (across && design.height() + scrollBar > room.height());
    const int step = std::max(1, qRound(scale));
    const auto fit = [scale, step](int wanted, int roomFor) {
        if (wanted <= roomFor)
            return wanted;
        int size = std::max(1, roomFor);
        while (size > 1 && qRound(size * scale) % step != 0)
            --size;
        return size;
    };
    return {fit(design.width() + (down ? scrollBar : 0), room.width()),
            fit(design.height() + (across ? scrollBar : 0), room.height())};
}

QPoint CentredPlacement(const QSize& frame, const QRect& available)
{
    const QPoint centred(available.x() + (available.width() - frame.width()) / 2,
                         available.y() + (available.height() - frame.height()) / 2);
    return KeepWhole(QRect(centred, frame), available);
}

QPoint CentredOnScreen(const QSize& frame, const WindowPlace& owner, const QRect& available)
{
    return ClearOfTitleBar(CentredPlacement(frame, available), frame, owner, available);
}

QPoint CentredOverOwner(const QSize& frame, const WindowPlace& owner, const QRect& available)
{
    if (owner.frame.isEmpty())
        return CentredOnScreen(frame, owner, available);
    QRect over(QPoint(), frame);
    over.moveCenter(owner.frame.center());
    return ClearOfTitleBar(over.topLeft(), frame, owner, available);
}

QPoint FirstPlacement(const QSize& frame, const WindowPlace& owner, const QRect& available)
{
    if (owner.frame.isEmpty())
        return CentredOnScreen(frame, owner, available);
    constexpr int Gap = 8;
    const QPoint candidates[] = {
        {owner.frame.right() + 1 + Gap, owner.frame.top()},            // on the owner's right
        {owner.frame.left() - Gap - frame.width(), owner.frame.top()}, // on its left
        {owner.frame.right() + 1 - frame.width(), owner.client.top()}, // over its top right
    };
    for (const QPoint& place : candidates) {
        if (Fits(place, frame, owner, available))
            return place;
    }
    return ClearOfTitleBar(candidates[std::size(candidates) - 1], frame, owner, available);
}

} // namespace ui
