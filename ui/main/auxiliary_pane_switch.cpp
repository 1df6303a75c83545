#include "auxiliary_pane_switch.h"

#include "ui/text/text_pane.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QTimer>

namespace ui {

std::optional<UpperPanes> LayoutAfter(PaneSwitchEvent event, bool checked)
{
    switch (event) {
    case PaneSwitchEvent::Load:
        return UpperPanes::Wide;
    case PaneSwitchEvent::Tick:
        return checked ? UpperPanes::Split : UpperPanes::Wide;
    case PaneSwitchEvent::PointerOverCheckBox:
        return checked ? std::nullopt : std::optional(UpperPanes::Split);
    case PaneSwitchEvent::PointerOverFrame:
        return checked ? std::optional(UpperPanes::Split) : std::nullopt;
    }
    return std::nullopt;
}

AuxiliaryPaneSwitch::AuxiliaryPaneSwitch(QCheckBox* checkBox, QGroupBox* frame, QTimer* timer,
                                         TextPane* sourcePane, TextPane* auxiliaryPane,
                                         SourcePaneWidths widths)
    : QObject(checkBox), checkBox_(checkBox), frame_(frame), sourcePane_(sourcePane),
      auxiliaryPane_(auxiliaryPane), widths_(widths)
{
    checkBox_->setMouseTracking(true);
    frame_->setMouseTracking(true);
    checkBox_->installEventFilter(this);
    frame_->installEventFilter(this);
    connect(timer, &QTimer::timeout, this, [this] { handle(PaneSwitchEvent::Tick); });
}

void AuxiliaryPaneSwitch::handle(PaneSwitchEvent event)
{
    if (const auto layout = LayoutAfter(event, checkBox_->isChecked()))
        apply(*layout);
}

bool AuxiliaryPaneSwitch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == checkBox_) {
            handle(PaneSwitchEvent::PointerOverCheckBox);
        } else if (watched == frame_) {
            // Moves over the frame's own controls propagate up to it; only its bare area counts.
            const auto* move = static_cast<QMouseEvent*>(event);
            if (frame_->childAt(move->position().toPoint()) == nullptr)
                handle(PaneSwitchEvent::PointerOverFrame);
        }
    }
    return QObject::eventFilter(watched, event);
}

void AuxiliaryPaneSwitch::apply(UpperPanes layout)
{
    const bool split = layout == UpperPanes::Split;
    sourcePane_->resize(split ? widths_.split : widths_.wide, sourcePane_->height());
    auxiliaryPane_->setVisible(split);
}

} // namespace ui
