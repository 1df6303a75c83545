#include "controls.h"

#include "design_fonts.h"

#include <QLabel>
#include <QPushButton>

namespace ui {

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
    // Enter presses the focused button, as Space does, in every window and not in dialogs
    // alone; the button it would press shows so while focused.
    button->setAutoDefault(true);
    return button;
}

void SetAutoSizedText(QLabel* label, const QString& text)
{
    label->setText(text);
    label->resize(label->sizeHint());
}

QLabel* MakeAutoSizedLabel(QWidget* parent, const char* name, const QString& text,
                           const QRect& place, const QString& toolTip)
{
    QLabel* label = MakeLabel(parent, name, text, place, toolTip);
    SetAutoSizedText(label, text);
    return label;
}

} // namespace ui
