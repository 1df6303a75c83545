// What the window tests do to the real widgets: find controls by their design names, click, type
// and paste as the mouse and keyboard do, tick the named timers, change the platform's palette,
// answer the modal message box, and read what a screen reader reads and what a widget draws.
#pragma once

#include "support/pixels.h"
#include "ui/kit/colour_value.h"
#include "ui/kit/slider_parts.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

#include <functional>

namespace uitest {

template <typename Control = QWidget> Control* Find(const QObject* window, const char* name)
{
    auto* control = window->findChild<Control*>(QString::fromLatin1(name));
    if (!control)
        qFatal("no control named %s", name);
    return control;
}

using ui::SliderPart;

// A left click on a button of the window, as the mouse gives it.
inline void Click(const QObject* window, const char* buttonName)
{
    QTest::mouseClick(Find<QAbstractButton>(window, buttonName), Qt::LeftButton);
}

// Ticks of a timer of the window, as the event loop would deliver them.
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

// Tab pressed until `control` has the keys, at most `most` times, as a writer who moves by the
// keys reaches it; whether it got them.
inline bool TabTo(const QWidget* control, int most = 16)
{
    for (int tabs = 0; tabs < most && QApplication::focusWidget() != control; ++tabs)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return QApplication::focusWidget() == control;
}

// Pastes text at the cursor with Ctrl+V, through the clipboard.
inline void Paste(QWidget* widget, const QString& text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
}

// Windows that closed themselves are deleted once the event loop comes round; this is that.
inline void DiscardClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

// The windows' dark green, as they draw it.
inline QColor DarkGreen()
{
    return ui::ResolveColour(ui::DarkGreen, QPalette());
}

// What a screen reader reads as the control's name.
inline QString AccessibleName(QWidget* control)
{
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

// The colour a widget shows near its bottom right corner, away from text at its top left.
inline QColor ColourNearTheCorner(QWidget* widget)
{
    const QImage drawn = widget->grab().toImage();
    return drawn.pixelColor(drawn.width() - 4, drawn.height() - 4);
}

// Where a widget's ink lies on the windows' dark green, in logical pixels whatever the scale.
inline QRectF InkOnDarkGreen(QWidget* widget)
{
    const QPixmap drawn = widget->grab();
    const QRect ink = InkBounds(drawn.toImage(), DarkGreen());
    return {QPointF(ink.topLeft()) / drawn.devicePixelRatio(),
            QPointF(ink.bottomRight() + QPoint(1, 1)) / drawn.devicePixelRatio()};
}

// The application palette changed for a scope, as a change of the platform's colour scheme
// changes it; the earlier palette comes back at the end of the scope.
class ScopedApplicationPalette
{
public:
    explicit ScopedApplicationPalette(const QPalette& palette) : before_(QApplication::palette())
    {
        apply(palette);
    }
    ~ScopedApplicationPalette() { apply(before_); }
    ScopedApplicationPalette(const ScopedApplicationPalette&) = delete;
    ScopedApplicationPalette& operator=(const ScopedApplicationPalette&) = delete;

private:
    // Qt tells the windows of a palette change by posted events; they pass it on to their
    // controls when the event loop delivers them, which this does at once.
    static void apply(const QPalette& palette)
    {
        QApplication::setPalette(palette);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
    }

    QPalette before_;
};

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
