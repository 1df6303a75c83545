// Keeps the auxiliary pane in step with the check box "Второе окно(вспом.)": on a timer, and
// when the pointer moves over the check box or over its group box.
#pragma once

#include <QObject>

#include <cstdint>
#include <optional>

class QCheckBox;
class QGroupBox;
class QTimer;

namespace ui {

class TextPane;

enum class UpperPanes : std::uint8_t
{
    Wide,  // the first source pane spans the window, the auxiliary pane is hidden
    Split, // the two upper panes stand side by side
};

enum class PaneSwitchEvent : std::uint8_t
{
    Load,
    Tick,
    PointerOverCheckBox,
    PointerOverFrame, // over the group box itself, not over a control inside it
};

// Which layout an event applies, if any, for the box's value at that moment.
std::optional<UpperPanes> LayoutAfter(PaneSwitchEvent event, bool checked);

// The first source pane's width in each layout, in pixels.
struct SourcePaneWidths
{
    int wide;
    int split;
};

class AuxiliaryPaneSwitch : public QObject
{
    Q_OBJECT

public:
    AuxiliaryPaneSwitch(QCheckBox* checkBox, QGroupBox* frame, QTimer* timer, TextPane* sourcePane,
                        TextPane* auxiliaryPane, SourcePaneWidths widths);

    void handle(PaneSwitchEvent event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(UpperPanes layout);

    QCheckBox* checkBox_;
    QGroupBox* frame_;
    TextPane* sourcePane_;
    TextPane* auxiliaryPane_;
    SourcePaneWidths widths_;
};

} // namespace ui
