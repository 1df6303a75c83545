// The repeats of a compare in the main window's panes: followed through the writer's edits,
// marked in the new-text and source panes, walked with F3 and Shift+F3 (also in the panes'
// context menu), and led to from the result window's listing, whose entries it keeps told which
// still repeat. The main window hands it the result window it shows; every channel between the
// repeats and that window runs here.
#pragma once

#include "analysis/repeat_tracker.h"

#include <QObject>
#include <QPointer>

namespace ui {

class RepeatFollower;
class ResultWindow;
class TextPane;
struct PaneRange;

class RepeatNavigation : public QObject
{
public:
    RepeatNavigation(TextPane* newText, TextPane* source, QObject* parent);

    // Compares the two panes; one that reaches a result is followed from then on.
    analysis::ComparisonOutcome compare();
    // The window that shows the last compare's result: its listing's entries lead to their pairs
    // and are drawn done as the writer rewords them.
    void showEntriesIn(ResultWindow* window);

private:
    // Selects an entry's pair in both panes; activated, the new-text pane takes the keyboard.
    void selectPair(int entry, bool activate);
    void selectMark(TextPane* pane, analysis::TextSide side, bool forward);

    TextPane* newText_;
    TextPane* source_;
    RepeatFollower* follower_;
    QPointer<ResultWindow> window_;
};

} // namespace ui
