// How a reader scrolls a view to its end, and what the view's scroll range is next to Qt's own.
#pragma once

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>

#include <functional>
#include <utility>

namespace uitest {

// Where a scrolled view stands: its scroll bar, and the cursor of a text view.
inline std::pair<int, int> ViewState(QAbstractScrollArea* view)
{
    const auto* text = qobject_cast<QPlainTextEdit*>(view);
    return {view->verticalScrollBar()->value(), text ? text->textCursor().position() : 0};
}

// Moves the view a step at a time until it stops moving.
inline void StepUntilStill(QAbstractScrollArea* view, const std::function<void()>& step)
{
    for (int steps = 0; steps < 100000; ++steps) {
        const auto before = ViewState(view);
        step();
        if (ViewState(view) == before)
            return;
    }
}

// One notch of the mouse wheel down (or up) over the middle of a view.
inline void WheelNotch(QAbstractScrollArea* view, bool down = true)
{
    const QPointF inside(view->viewport()->rect().center());
    QWheelEvent notch(inside, view->viewport()->mapToGlobal(inside), QPoint(),
                      QPoint(0, down ? -120 : 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(view->viewport(), &notch);
}

// Whether the last line of a text view lies wholly within its view.
inline bool EndInView(const QPlainTextEdit& view)
{
    QTextCursor end(view.document());
    end.movePosition(QTextCursor::End);
    return view.viewport()->rect().contains(view.cursorRect(end));
}

// The ways a reader scrolls a view from its top to its end that leave the end out of view:
// Ctrl+End, the scroll bar at its end, and PageDown and the wheel until the view stops moving.
// With `walkedPages`, PageDown and the wheel start that many pages above the end instead, the
// cursor put where the view then begins, for texts too long to walk whole in a test.
inline QStringList WaysThatMissTheEnd(QAbstractScrollArea* view,
                                      const std::function<bool()>& endInView, int walkedPages = 0)
{
    QStringList missed;
    const auto walkStart = [view, walkedPages] {
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        auto* text = qobject_cast<QPlainTextEdit*>(view);
        if (walkedPages == 0 || text == nullptr)
            return;
        QScrollBar* bar = view->verticalScrollBar();
        bar->setValue(bar->maximum() - walkedPages * bar->pageStep());
        text->setTextCursor(text->cursorForPosition(QPoint(1, 1)));
    };
    const auto tryWay = [&](const char* way, const std::function<void()>& scroll) {
        walkStart();
        scroll();
        if (!endInView())
            missed << QString::fromLatin1(way);
    };
    tryWay("Ctrl+End", [view] { QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier); });
    tryWay("scroll bar at its end",
           [view] { view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum); });
    tryWay("PageDown",
           [view] { StepUntilStill(view, [view] { QTest::keyClick(view, Qt::Key_PageDown); }); });
    tryWay("wheel", [view] { StepUntilStill(view, [view] { WheelNotch(view); }); });
    return missed;
}

using ScrollRange = std::pair<int, int>; // maximum, page step

inline ScrollRange RangeOf(const QAbstractScrollArea& view)
{
    return {view.verticalScrollBar()->maximum(), view.verticalScrollBar()->pageStep()};
}

// The scroll range of Qt's own plain-text view of `text` (line breaks as LF) in the font and at
// the size of `like`, with its scroll bar policy, every paragraph laid out.
inline ScrollRange QtsOwnRange(const QAbstractScrollArea& like, const QString& text)
{
    QPlainTextEdit own;
    own.setFont(like.font());
    own.setVerticalScrollBarPolicy(like.verticalScrollBarPolicy());
    own.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (const auto* pane = qobject_cast<const QPlainTextEdit*>(&like))
        own.setTabStopDistance(pane->tabStopDistance());
    own.setPlainText(text);
    own.resize(like.size());
    own.show();
    for (QTextBlock block = own.document()->begin(); block.isValid(); block = block.next())
        own.document()->documentLayout()->blockBoundingRect(block);
    return RangeOf(own);
}

} // namespace uitest
