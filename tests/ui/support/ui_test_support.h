// Helpers for the window tests: find controls by their design names, tick the named timers,
// and answer the modal message box.
#pragma once

#include "ui/common/colour_value.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QTimerEvent>
#include <QWheelEvent>
#include <QWidget>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <functional>

namespace uitest {

// The windows' dark green, as they draw it.
inline QColor DarkGreen()
{
    return ui::ResolveColour(ui::DarkGreen, QPalette());
}

template <typename Control = QWidget> Control* Find(const QObject* window, const char* name)
{
    auto* control = window->findChild<Control*>(QString::fromLatin1(name));
    if (!control)
        qFatal("no control named %s", name);
    return control;
}

// A left click on a button of the window, as the mouse gives it.
inline void Click(const QObject* window, const char* buttonName)
{
    QTest::mouseClick(Find<QAbstractButton>(window, buttonName), Qt::LeftButton);
}

// Windows that closed themselves are deleted once the event loop comes round; this is that.
inline void DiscardClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The top-level windows still there once the closed ones are deleted, as "Class/objectName":
// every window that is shown, and every hidden one that is not Qt's own (a tool tip label kept
// for reuse). A test that leaves one behind would hand its state to the next.
inline QStringList WindowsLeftBehind()
{
    DiscardClosedWindows();
    QStringList left;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        const bool qtsOwn = window->objectName().startsWith(QLatin1String("qt"));
        if (window->isVisible() || !qtsOwn)
            left << QStringLiteral("%1/%2").arg(QLatin1String(window->metaObject()->className()),
                                                window->objectName());
    }
    return left;
}

// For a test's cleanup(): the test function that left a window behind fails.
inline void VerifyNoWindowLeft()
{
    const QStringList left = WindowsLeftBehind();
    QVERIFY2(left.isEmpty(),
             qPrintable(QStringLiteral("left behind: ") + left.join(QLatin1String(", "))));
}

// A rectangle as a failure message shows it: "x,y widthxheight".
inline QString Describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// One tick of a timer of the window, as the event loop would deliver it.
inline void Tick(const QObject* window, const char* timerName, int times = 1)
{
    auto* timer = Find<QTimer>(window, timerName);
    for (int i = 0; i < times; ++i) {
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
    }
}

// The pointer moving over a widget with no button held, delivered as the platform delivers it
// (QTest::mouseMove warps the real cursor and spins the event loop, which ticks the timers).
inline void MovePointer(QWidget* widget, QPoint position)
{
    QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Types text key by key, as a keyboard would; a line feed presses Enter.
inline void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_A, QString(c), Qt::NoModifier);
    }
}

// The focusable widgets among `names`, in the window's focus chain order from the first.
inline QStringList FocusOrder(QWidget* window, const QStringList& names)
{
    QStringList order;
    QWidget* first = Find(window, names.first().toLatin1().constData());
    QWidget* widget = first;
    do {
        if (names.contains(widget->objectName()) && !order.contains(widget->objectName()))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget && widget != first);
    return order;
}

// Relative luminance and contrast ratio as the accessibility guidelines define them.
inline double Luminance(const QColor& colour)
{
    const auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}
inline double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The bounds of the pixels within `area` that differ from `background`: the ink drawn there.
inline QRect InkBounds(const QImage& image, const QColor& background, QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y).rgb() != background.rgb())
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// The highest contrast of any pixel within `area` against `background`.
inline double HighestContrast(const QImage& image, const QColor& background, const QRect& area)
{
    double highest = 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            highest = std::max(highest, Contrast(image.pixelColor(x, y), background));
    }
    return highest;
}

// The application palette changed for a scope, as a change of the platform's colour scheme
// changes it; the earlier palette comes back at the end of the scope.
class ScopedApplicationPalette
{
public:
    explicit ScopedApplicationPalette(const QPalette& palette) : before_(QApplication::palette())
    {
        Apply(palette);
    }
    ~ScopedApplicationPalette() { Apply(before_); }
    ScopedApplicationPalette(const ScopedApplicationPalette&) = delete;
    ScopedApplicationPalette& operator=(const ScopedApplicationPalette&) = delete;

private:
    // Qt tells the windows of a palette change by posted events; they pass it on to their
    // controls when the event loop delivers them, which this does at once.
    static void Apply(const QPalette& palette)
    {
        QApplication::setPalette(palette);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
    }

    QPalette before_;
};

// Where a scrolled view stands: its scroll bar, and the cursor of a text view.
inline std::pair<int, int> ViewState(QAbstractScrollArea* view)
{
    const auto* text = qobject_cast<QPlainTextEdit*>(view);
    return {view->verticalScrollBar()->value(), text ? text->textCursor().position() : 0};
}

// Presses `key` in the view until it stops moving.
inline void PressUntilStill(QAbstractScrollArea* view, Qt::Key key)
{
    for (int presses = 0; presses < 100000; ++presses) {
        const auto before = ViewState(view);
        QTest::keyClick(view, key);
        if (ViewState(view) == before)
            return;
    }
}

// Turns the mouse wheel down over the view, a notch at a time, until it stops moving.
inline void WheelUntilStill(QAbstractScrollArea* view)
{
    const QPointF inside(view->viewport()->rect().center());
    for (int notches = 0; notches < 100000; ++notches) {
        const auto before = ViewState(view);
        QWheelEvent wheel(inside, view->viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        if (ViewState(view) == before)
            return;
    }
}

// Whether the last line of a text view lies wholly within its view.
inline bool EndInView(const QPlainTextEdit& view)
{
    QTextCursor end(view.document());
    end.movePosition(QTextCursor::End);
    return view.viewport()->rect().contains(view.cursorRect(end));
}

// The ways a reader scrolls a view from its top to its end that leave the end out of view.
inline QStringList WaysThatMissTheEnd(QAbstractScrollArea* view,
                                      const std::function<bool()>& endInView)
{
    QStringList missed;
    const auto tryWay = [&](const char* way, const std::function<void()>& scroll) {
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        scroll();
        if (!endInView())
            missed << QString::fromLatin1(way);
    };
    tryWay("Ctrl+End", [view] { QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier); });
    tryWay("scroll bar at its end",
           [view] { view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum); });
    tryWay("PageDown", [view] { PressUntilStill(view, Qt::Key_PageDown); });
    tryWay("wheel", [view] { WheelUntilStill(view); });
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

struct MessageBoxSeen
{
    int count = 0;
    QString title;
    QString text;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Runs `action`; every modal message box it opens is recorded and closed with OK.
inline MessageBoxSeen AnswerMessageBoxes(const std::function<void()>& action)
{
    MessageBoxSeen seen;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        ++seen.count;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons = int(box->buttons().size());
        seen.icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    watcher.start();
    action();
    watcher.stop();
    return seen;
}

} // namespace uitest
