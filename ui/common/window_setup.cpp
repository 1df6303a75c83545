#include "window_setup.h"

#include "colour_value.h"

#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

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

void CentreOnScreen(QWidget* window)
{
    if (const QScreen* screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

void ShowInFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace ui
