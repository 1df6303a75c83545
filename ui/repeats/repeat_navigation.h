// The repeats in the main window's panes: those of the new text in the source, the design's
// compare, and in the auxiliary pane, the second source, while that pane is shown. Each is
// followed through the writer's edits and marked in the panes and along their scroll bars; F3
// and Shift+F3 walk the exact repeats, F4 and Shift+F4 the near ones (also in the panes' context
// menu); the result window's listing leads to its pairs, whose entries it keeps told which still
// repeat, and learns how many near repeats there are. The main window hands it the result window
// it shows; every channel between the repeats and that window runs here.
#pragma once

#include "analysis/repeat_tracker.h"
#include "mark_layer.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

namespace ui {

class RepeatFollower;
class ResultWindow;
class TextPane;
struct PaneRange;

class RepeatNavigation : public QObject
{
public:
    RepeatNavigation(TextPane* newText, TextPane* source, TextPane* auxiliary, QObject* parent);

    // Compares the new text with the source; one that reaches a result is followed from then on,
    // and so, from then on, is the new text against the auxiliary pane whenever that holds
    // shingles enough.
    analysis::ComparisonOutcome compare();
    // The window that shows the last compare's result: its listing's entries lead to their pairs
    // and are drawn done as the writer rewords them.
    void showEntriesIn(ResultWindow* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The result window's line of near repeats: their count, or that they are still counted or
    // were given up.
    void tellNearRepeats();
    struct Pane
    {
        TextPane* pane;
        MarkLayers layers;
    };

    void addPane(TextPane* pane, MarkLayers layers);
    // Selects an entry's pair in both panes; activated, the new-text pane takes the keyboard.
    void selectPair(int entry, bool activate);
    void selectMark(const Pane& pane, analysis::RepeatKind kind, bool forward);
    void selectPlace(const Pane& pane, int from, int to);
    static QString markAttributes(const Pane& pane, int position, int& start, int& end);
    void compareSecondSource();

    TextPane* newText_;
    TextPane* source_;
    TextPane* auxiliary_;
    RepeatFollower* follower_;
    RepeatFollower* second_;
    std::vector<Pane> panes_;
    QPointer<ResultWindow> window_;
    // From the first compare on, the second source is compared again once its pane holds enough
    // to compare, 150 ms after the writer stops changing it.
    bool comparing_ = false;
    QTimer secondTimer_{this};
};

} // namespace ui
