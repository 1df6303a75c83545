#include "design.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <mutex>

namespace ui {

QRect TwipsRect(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

QColor ResolveColour(ColourValue value, const QPalette& palette)
{
    if ((value & 0x80000000u) == 0)
        return {int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF)};
    switch (value & 0xFFu) {
    case 5: // COLOR_WINDOW
        return palette.color(QPalette::Active, QPalette::Base);
    case 11: // COLOR_INACTIVEBORDER: the platform has none; the window face is its usual shade.
        return palette.color(QPalette::Inactive, QPalette::Window);
    case 14: // COLOR_HIGHLIGHTTEXT
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    default:
        return palette.color(QPalette::Active, QPalette::Window);
    }
}

namespace {

void InstallFontSubstitutes()
{
    // Liberation Sans has Arial's metrics, the closest installed match to MS Sans Serif;
    // DejaVu Sans is as wide as Trebuchet MS.
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                              QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Trebuchet MS"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

} // namespace

QFont DesignFont(const QString& family, qreal pointSize, bool bold, bool italic)
{
    static std::once_flag substitutesInstalled;
    std::call_once(substitutesInstalled, InstallFontSubstitutes);
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont LabelFont()
{
    return DesignFont(QStringLiteral("MS Sans Serif"), 8.25);
}

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

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                  const QString& toolTip)
{
    auto* label = MakeControl<QLabel>(parent, name, place, toolTip);
    label->setText(text);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(LabelFont());
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& place,
                        const QFont& font, const QString& toolTip)
{
    auto* button = MakeControl<QPushButton>(parent, name, place, toolTip);
    button->setText(text);
    button->setFont(font);
    return button;
}

void SetUpSecondaryWindow(QWidget* window, const char* name, const QString& caption)
{
    window->setObjectName(QString::fromLatin1(name));
    window->setAttribute(Qt::WA_DeleteOnClose);
    SetWindowCaption(window, caption);
    ApplyWindowLook(window);
}

void SetWindowCaption(QWidget* window, const QString& caption)
{
    // Qt reads "[*]" in a title as the modified-document marker; doubled, it shows as written.
    QString title = caption.isEmpty() ? QString(EmptyTitle) : caption;
    window->setWindowTitle(title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void CentreOnScreen(QWidget* window)
{
    if (const QScreen* screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

void SetAutoSizedText(QLabel* label, const QString& text)
{
    label->setText(text);
    label->resize(label->sizeHint());
}

int RoundFontSize(qreal points)
{
    // Sizes are kept to four decimal places; nearbyint rounds halves to even.
    const double kept = std::round(points * 10000) / 10000;
    return static_cast<int>(std::nearbyint(kept));
}

} // namespace ui
