// The repeats of the last compare, followed through the writer's edits: from a compare on, every
// edit of the new-text and source panes goes to a RepeatTracker, which moves the marks with the
// text at once and is brought up to date 150 ms after the writer stops typing. Positions here are
// the panes' document positions; the tracker counts in their plain text, where each paragraph
// break is CR LF.
#pragma once

#include "analysis/repeat_tracker.h"

#include <QObject>
#include <QTimer>

#include <optional>
#include <vector>

namespace ui {

class TextPane;

// Characters [start, end) of a pane's document.
struct PaneRange
{
    int start = 0;
    int end = 0;

    bool operator==(const PaneRange&) const = default;
};

class RepeatFollower : public QObject
{
    Q_OBJECT

public:
    // How long after the last edit the marks are brought up to date.
    static constexpr int SettleInterval = 150;

    RepeatFollower(TextPane* newText, TextPane* source, QObject* parent = nullptr);

    // Compares the two panes' texts; one that reaches a result is followed from then on.
    analysis::ComparisonOutcome compare();
    bool isActive() const { return tracker_.isActive(); }

    // The marked runs of a pane that lie within [from, to).
    std::vector<PaneRange> marks(analysis::TextSide side, int from, int to) const;
    // The run that starts at or after `from` (ends at or before it), else the first (last) one.
    std::optional<PaneRange> nextMark(analysis::TextSide side, int from) const;
    std::optional<PaneRange> previousMark(analysis::TextSide side, int from) const;

    // The pairs behind the last compare's listing, one an entry.
    int pairCount() const { return static_cast<int>(tracker_.pairCount()); }
    // Where a listing entry's shingle lies now; nothing once it was reworded.
    std::optional<PaneRange> pairExtent(int entry, analysis::TextSide side) const;
    // Whether the entry's combination was reworded, or repeats the source no more.
    bool isPairDone(int entry) const;

    // Brings the marks up to date now, as the timer would.
    void settle();

signals:
    // The marks changed other than by moving with the text: a compare or a settle.
    void marksChanged();

private:
    const TextPane* pane(analysis::TextSide side) const;
    void mirror(analysis::TextSide side, int from, int removed, int added);
    std::size_t plainPosition(analysis::TextSide side, int position) const;
    int panePosition(analysis::TextSide side, std::size_t plain) const;
    PaneRange paneRange(analysis::TextSide side, analysis::TextRange range) const;

    TextPane* newText_;
    TextPane* source_;
    analysis::RepeatTracker tracker_;
    QTimer settleTimer_;
};

} // namespace ui
