#include "window_setup.h"

#include "ui/kit/colour_value.h"
#include "window_frame.h"

#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace ui {

void ApplyWindowLook(QWidget* window)
{
    QPalette palette = window->palette();
    const QColor captionColour = ResolveColour(ColourHighlightText, QApplication::palette());
    palette.setColor(QPalette::Window, ResolveColour(DarkGreen, palette));
    palette.setColor(QPalette::WindowText, captionColour);
    // Disabled captions keep the window's look too.
    palette.setColor(QPalette::Disabled, QPalette::WindowText, captionColour);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void SetWindowCaption(QWidget* window, const QString& caption)
{
    // Qt reads "[*]" in a title as the modified-document marker; doubled, it shows as written.
    QString title = caption.isEmpty() ? QString(EmptyTitle) : caption;
    window->setWindowTitle(title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void SetUpSecondaryWindow(QWidget* window, const char* name, const QString& caption)
{
    window->setObjectName(QString::fromLatin1(name));
    window->setAttribute(Qt::WA_DeleteOnClose);
    SetWindowCaption(window, caption);
    ApplyWindowLook(window);
}

namespace {

const QWidget* OwnerOf(const QWidget* window)
{
    return window->parentWidget() ? window->parentWidget()->window() : nullptr;
}

// At a scale of a fractional number of device pixels to the pixel, Qt rounds a window's place,
// size and frame to device pixels each on its own, which can move an edge by a device pixel: a
// logical pixel kept clear of every edge a window must not cross makes up for it.
int RoundingSlack(const QWidget* window)
{
    const QScreen* screen = window->screen();
    const qreal scale = screen ? screen->devicePixelRatio() : 1;
    return scale == std::floor(scale) ? 0 : 1;
}

} // namespace

WindowPlace OwnerPlace(const QWidget* window)
{
    const QWidget* owner = OwnerOf(window);
    if (!owner || !owner->isVisible())
        return {};
    const QRect client = owner->geometry();
    return {client.marginsAdded(FrameMargins(owner)),
            client.adjusted(0, RoundingSlack(owner), 0, 0)};
}

QRect AvailableArea(const QWidget* window)
{
    const QWidget* shownBeside = OwnerOf(window) ? OwnerOf(window) : window;
    const QScreen* screen = shownBeside->screen();
    if (!screen)
        return {};
    const int slack = RoundingSlack(shownBeside);
    return screen->availableGeometry().adjusted(slack, slack, -slack, -slack);
}

void PlaceOnFirstShow(QWidget* window, Placement where)
{
    const QWidget* owner = OwnerOf(window);
    new FrameWatch(
        window,
        [window, where](const QMargins& frame) {
            const QRect available = AvailableArea(window);
            if (!available.isEmpty())
                MoveFrameTo(window,
                            where(window->size().grownBy(frame), OwnerPlace(window), available),
                            frame);
        },
        owner ? FrameMargins(owner) : QMargins());
}

void ShowInFront(QWidget* window)
{
    // The style frames the focus only in a window where the keys have moved it. Opened from a
    // window where they have, a window shows where they are at once (marked once shown: showing a
    // window afresh unmarks it).
    const QWidget* owner = OwnerOf(window);
    const bool byKeys = owner && owner->testAttribute(Qt::WA_KeyboardFocusChange);
    window->show();
    if (byKeys)
        window->setAttribute(Qt::WA_KeyboardFocusChange);
    window->raise();
    window->activateWindow();
}

} // namespace ui
