// The repeats of the last compare, followed through the writer's edits: from a compare on, every
// edit of the new-text pane and of the pane it was compared with goes to a RepeatTracker, which
// moves the marks with the text at once and is brought up to date 150 ms after the writer stops
// typing. The near repeats come after the exact ones, folded while the event loop is idle.
// Positions here are the panes' document positions; the tracker counts in their plain text, where
// each paragraph break is CR LF.
#pragma once

#include "analysis/repeat_tracker.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

namespace ui {

class IdleBacklog;
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
    // How long after the last edit the marks are brought up to date; a long paste is then cut
    // again a slice at a time while idle.
    static constexpr int SettleInterval = 150;

    RepeatFollower(TextPane* newText, TextPane* source, QObject* parent = nullptr);
    ~RepeatFollower() override;

    // Compares the two panes' texts; one that reaches a result is followed from then on.
    analysis::ComparisonOutcome compare();
    // Compares them on a worker thread, near repeats and all, so that the event loop never waits
    // for it: the marks come when it is done, the edits made meanwhile applied to it. A compare
    // that reaches no result leaves the follower as it was. `sharing`, a follower of the same
    // new-text pane, lends that text as it holds it, so that the pane is not walked again.
    void compareInBackground(const RepeatFollower* sharing = nullptr);
    bool isComparing() const { return pending_ != nullptr; }
    // Whether an edit as long as a pasted article is followed by a compare on the worker rather
    // than settled in the event loop.
    void setComparesLargeEdits(bool compares) { comparesLargeEdits_ = compares; }
    // The edits so far are not settled: a compare about to run brings them.
    void leaveEditsToNextCompare();
    bool isActive() const { return tracker_->isActive(); }
    // Whether its marks are shown: those of the second source only while its pane is.
    bool isShowing() const { return shown_ && isActive(); }
    void setShown(bool shown);

    // The marked runs of a pane that lie within [from, to).
    std::vector<PaneRange> marks(analysis::TextSide side, int from, int to,
                                 analysis::RepeatKind kind = analysis::RepeatKind::Exact) const;
    bool isMarkedWithin(analysis::TextSide side, int from, int to, analysis::RepeatKind kind) const;
    // The run that starts at or after `from`, and the one that ends at or before it.
    std::optional<PaneRange>
    nextMark(analysis::TextSide side, int from,
             analysis::RepeatKind kind = analysis::RepeatKind::Exact) const;
    std::optional<PaneRange>
    previousMark(analysis::TextSide side, int from,
                 analysis::RepeatKind kind = analysis::RepeatKind::Exact) const;
    // The whole run that holds the character at `position`.
    std::optional<PaneRange> markAt(analysis::TextSide side, int position,
                                    analysis::RepeatKind kind) const;

    // Whether the near repeats are known, and how many shingles of the new text are near
    // repeats.
    bool areNearRepeatsKnown() const { return tracker_->areNearRepeatsKnown(); }
    int nearRepeatCount() const { return static_cast<int>(tracker_->nearRepeatCount()); }
    // Out of memory while folding, the near repeats were given up until the next compare.
    bool areNearRepeatsAbandoned() const { return tracker_->areNearRepeatsAbandoned(); }

    // The pairs behind the last compare's listing, one an entry.
    int pairCount() const { return static_cast<int>(tracker_->pairCount()); }
    // Where a listing entry's shingle lies now; nothing once it was reworded.
    std::optional<PaneRange> pairExtent(int entry, analysis::TextSide side) const;
    // Whether the entry's combination was reworded, or repeats the source no more.
    bool isPairDone(int entry) const;

    // Brings the marks up to date now, as the timer would.
    void settle();
    // Every near repeat worked out now, as the event loop would while idle.
    void finishNearRepeats();
    // The texts the tracker holds, while active those of the panes.
    const std::u16string& trackedText(analysis::TextSide side) const
    {
        return tracker_->text(side);
    }

signals:
    // The marks changed other than by moving with the text: a compare, a settle, or the near
    // repeats once known.
    void marksChanged();
    // Which pairs of the listing still repeat may have changed: a compare or a settle.
    void pairsChanged();
    // The near repeats became known, or were given up for want of memory.
    void nearRepeatsKnown();

private:
    // An edit made while a compare runs on the worker, in the plain text's positions.
    struct Edit
    {
        analysis::TextSide side;
        std::size_t position;
        std::size_t removed;
        std::u16string inserted;
    };
    struct Arrival;

    const TextPane* pane(analysis::TextSide side) const;
    void mirror(analysis::TextSide side, int from, int removed, int added);
    // What mirror() does, which may run out of memory.
    void follow(analysis::TextSide side, int from, int removed, int added);
    void dropPending();
    void arrive();
    void settled();
    std::size_t plainPosition(analysis::TextSide side, int position) const;
    int panePosition(analysis::TextSide side, std::size_t plain) const;
    PaneRange paneRange(analysis::TextSide side, analysis::TextRange range) const;

    TextPane* newText_;
    TextPane* source_;
    std::unique_ptr<analysis::RepeatTracker> tracker_;
    QTimer settleTimer_;
    IdleBacklog* settling_;
    IdleBacklog* folding_;
    bool shown_ = true;
    bool comparesLargeEdits_ = false;
    // The compare on the worker, and what came meanwhile: the edits, and each pane's paragraph
    // count and plain length after the last of them.
    std::unique_ptr<QFutureWatcher<void>> pending_;
    std::shared_ptr<Arrival> arriving_;
    std::vector<Edit> edits_;
    int paragraphs_[2] = {0, 0};
    std::size_t plainLength_[2] = {0, 0};
};

} // namespace ui
