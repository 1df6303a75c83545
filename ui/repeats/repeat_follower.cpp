#include "repeat_follower.h"

#include "ui/kit/strings.h"
#include "ui/text/idle_backlog.h"
#include "ui/text/line_break_conversion.h"
#include "ui/text/text_pane.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <atomic>
#include <new>
#include <utility>

namespace ui {

namespace {

using analysis::TextSide;

// A pane's text as a tracker takes it, with room to follow its edits.
std::u16string TrackedCopy(const TextPane* pane)
{
    return pane->plainTextForAnalysis(analysis::EditableCapacity(pane->plainTextLength()));
}

int Index(TextSide side)
{
    return side == TextSide::NewText ? 0 : 1;
}

// Shingles folded between two looks at the clock: some tens of microseconds.
constexpr std::size_t FoldingBatch = 256;
// Shingles cut again between two looks at the clock: a few milliseconds at most.
constexpr std::size_t SettlingBatch = 512;
// An edit this long (a paste of an article, say) costs as much to settle as a compare: where
// that may run on the worker, it does.
constexpr std::size_t LargeEdit = std::size_t{64} * 1024;

} // namespace

// What a compare on the worker brings. Only the worker and the pool free what it holds, so that
// hundreds of megabytes never go back to the allocator in the event loop.
struct RepeatFollower::Arrival
{
    std::unique_ptr<analysis::RepeatTracker> tracker = std::make_unique<analysis::RepeatTracker>();
    bool compared = false;
    std::atomic<bool> overtaken = false;
};

namespace {

void FreeOnWorker(std::shared_ptr<void> held)
{
    QThreadPool::globalInstance()->start([held = std::move(held)]() mutable { held.reset(); });
}

// One compare on the worker at a time, whichever follower asks: each holds copies of the texts
// and tables as large as they are, and two at once would double the memory for no earlier
// result. One overtaken before its turn comes is skipped.
QThreadPool* CompareWorker()
{
    static QPointer<QThreadPool> worker;
    if (!worker) {
        worker = new QThreadPool(QCoreApplication::instance());
        worker->setMaxThreadCount(1);
    }
    return worker;
}

} // namespace

RepeatFollower::RepeatFollower(TextPane* newText, TextPane* source, QObject* parent)
    : QObject(parent), newText_(newText), source_(source),
      tracker_(std::make_unique<analysis::RepeatTracker>())
{
    folding_ = new IdleBacklog(
        [this](int, const QDeadlineTimer& deadline) -> std::optional<int> {
            // After a compare, the near repeats become known; after a long paste, its shingles
            // join those known.
            const bool known = tracker_->areNearRepeatsKnown();
            while (!deadline.hasExpired()) {
                if (tracker_->foldSome(FoldingBatch)) {
                    emit marksChanged();
                    if (!known)
                        emit nearRepeatsKnown();
                    return std::nullopt;
                }
            }
            return 0;
        },
        this);
    settling_ = new IdleBacklog(
        [this](int, const QDeadlineTimer& deadline) -> std::optional<int> {
            // A compare on the worker brings the marks of the texts as they are when it arrives.
            if (pending_ || tracker_->isSettled())
                return std::nullopt;
            while (!deadline.hasExpired()) {
                if (tracker_->settleSome(SettlingBatch)) {
                    settled();
                    return std::nullopt;
                }
            }
            return 0;
        },
        this);
    settleTimer_.setSingleShot(true);
    settleTimer_.setInterval(SettleInterval);
    connect(&settleTimer_, &QTimer::timeout, this, [this] { settling_->scheduleFrom(0); });
    for (const TextSide side : {TextSide::NewText, TextSide::Source}) {
        connect(
            pane(side)->document(), &QTextDocument::contentsChange, this,
            [this, side](int from, int removed, int added) { mirror(side, from, removed, added); });
    }
}

// What a compare still on the worker gives is thrown away: told so, it stops folding, and one
// still waiting for the worker does not start.
RepeatFollower::~RepeatFollower()
{
    if (pending_) {
        arriving_->overtaken = true;
        pending_->waitForFinished();
    }
}

const TextPane* RepeatFollower::pane(TextSide side) const
{
    return side == TextSide::NewText ? newText_ : source_;
}

analysis::ComparisonOutcome RepeatFollower::compare()
{
    analysis::ComparisonOutcome outcome;
    try {
        // A tracker that follows the panes holds their texts as they are: no copy is needed.
        outcome = tracker_->isActive()
                      ? tracker_->compareHeld()
                      : tracker_->compare(TrackedCopy(newText_), TrackedCopy(source_));
    } catch (const std::bad_alloc&) {
        outcome = analysis::TooLargeToCompare{};
    }
    if (std::holds_alternative<analysis::TooLargeToCompare>(outcome)) {
        // A tracker out of memory gave back the last compare's marks with their room.
        emit marksChanged();
        emit pairsChanged();
    }
    if (std::holds_alternative<analysis::ComparisonResult>(outcome)) {
        dropPending();
        settleTimer_.stop();
        folding_->scheduleFrom(0);
        emit marksChanged();
        emit pairsChanged();
    }
    return outcome;
}

void RepeatFollower::compareInBackground(const RepeatFollower* sharing)
{
    // A tracker that follows a pane holds its text as the analysis reads it: copying that is
    // far quicker than walking the pane's paragraphs.
    const auto textOf = [this, sharing](TextSide side) {
        if (isActive())
            return analysis::EditableCopy(trackedText(side));
        if (side == TextSide::NewText && sharing && sharing->isActive())
            return analysis::EditableCopy(sharing->trackedText(side));
        return TrackedCopy(pane(side));
    };
    std::u16string texts[2];
    try {
        texts[0] = textOf(TextSide::NewText);
        texts[1] = textOf(TextSide::Source);
    } catch (const std::bad_alloc&) {
        // No room for the copies the worker would compare: the marks stay those followed so far.
        return;
    }
    for (const TextSide side : {TextSide::NewText, TextSide::Source}) {
        paragraphs_[Index(side)] = pane(side)->paragraphCount();
        plainLength_[Index(side)] = texts[Index(side)].size();
    }
    dropPending();
    arriving_ = std::make_shared<Arrival>();
    pending_ = std::make_unique<QFutureWatcher<void>>();
    connect(pending_.get(), &QFutureWatcherBase::finished, this, &RepeatFollower::arrive);
    pending_->setFuture(
        QtConcurrent::run(CompareWorker(), [arrival = arriving_, newText = std::move(texts[0]),
                                            source = std::move(texts[1])]() mutable {
            if (arrival->overtaken) {
                arrival->tracker.reset();
                return;
            }
            arrival->compared = std::holds_alternative<analysis::ComparisonResult>(
                arrival->tracker->compare(std::move(newText), std::move(source)));
            while (arrival->compared && !arrival->overtaken &&
                   !arrival->tracker->foldSome(FoldingBatch * 256)) {
            }
            if (arrival->overtaken)
                arrival->tracker.reset();
        }));
}

// A compare on the worker that a newer one overtakes: it runs to its end unheard, since a finish
// it may already have posted must not reach arrive().
void RepeatFollower::dropPending()
{
    if (pending_) {
        pending_->disconnect(this);
        pending_.release()->deleteLater();
        arriving_->overtaken = true;
        FreeOnWorker(std::move(arriving_));
    }
    edits_.clear();
}

// The compare of the texts as they were, brought up to the texts as they are.
void RepeatFollower::arrive()
{
    const std::shared_ptr<Arrival> arrival = std::move(arriving_);
    pending_.release()->deleteLater();
    std::vector<Edit> edits = std::move(edits_);
    edits_.clear();
    if (!arrival->compared) {
        // The texts as they are: too short to compare; the marks followed the edits meanwhile.
        if (tracker_->isActive())
            settle();
        return;
    }
    FreeOnWorker(std::exchange(tracker_, std::move(arrival->tracker)));
    folding_->scheduleFrom(0);
    for (const Edit& edit : edits) {
        const std::size_t size = tracker_->text(edit.side).size();
        tracker_->replace(edit.side, edit.position, std::min(edit.removed, size - edit.position),
                          edit.inserted);
    }
    settleTimer_.stop();
    tracker_->settle();
    emit marksChanged();
    emit pairsChanged();
    emit nearRepeatsKnown();
}

void RepeatFollower::setShown(bool shown)
{
    if (shown == shown_)
        return;
    shown_ = shown;
    emit marksChanged();
}

void RepeatFollower::settle()
{
    settleTimer_.stop();
    // A compare on the worker brings the marks of the texts as they are when it arrives.
    if (pending_ || tracker_->isSettled())
        return;
    tracker_->settle();
    settled();
}

void RepeatFollower::settled()
{
    if (tracker_->hasShinglesToFold())
        folding_->scheduleFrom(0);
    emit marksChanged();
    emit pairsChanged();
    // Given up while the settle folded what it cut: the count shown goes.
    if (tracker_->areNearRepeatsAbandoned())
        emit nearRepeatsKnown();
}

void RepeatFollower::finishNearRepeats()
{
    folding_->finish();
}

// An edit of a pane, told by its document in document positions, goes to the tracker in plain
// text positions. The text before `from` is as it was, and the tracker still holds what was
// removed, so both ends are found.
void RepeatFollower::mirror(TextSide side, int from, int removed, int added)
{
    if ((!tracker_->isActive() && !pending_) || (removed == 0 && added == 0))
        return;
    try {
        follow(side, from, removed, added);
    } catch (const std::bad_alloc&) {
        // No room to follow the edit: no marks rather than marks where no repeat stands.
        dropPending();
        tracker_->clear();
    }
    // Out of memory here or in the tracker, the marks went.
    if (!tracker_->isActive() && !pending_) {
        emit marksChanged();
        emit pairsChanged();
    }
}

void RepeatFollower::follow(TextSide side, int from, int removed, int added)
{
    const TextPane* edited = pane(side);
    const std::size_t start = edited->plainPosition(from);
    // The document's last position, its closing paragraph break, is no part of the text.
    const int last = edited->document()->characterCount() - 1;
    std::u16string inserted(
        ToU16View(edited->plainText(std::min(from, last), std::min(from + added, last))));
    if (pending_) {
        // Each paragraph break removed is two characters of the plain text: as many as were
        // put in, less those the paragraphs gained.
        const int index = Index(side);
        const int paragraphs = edited->paragraphCount();
        const auto breaksPut = std::ranges::count(inserted, u'\r');
        const auto removedBreaks = std::max<qsizetype>(
            0, breaksPut - static_cast<qsizetype>(paragraphs - paragraphs_[index]));
        const std::size_t removedPlain = std::min(static_cast<std::size_t>(removed + removedBreaks),
                                                  plainLength_[index] - start);
        plainLength_[index] += inserted.size() - removedPlain;
        paragraphs_[index] = paragraphs;
        edits_.push_back({side, start, removedPlain, inserted});
    }
    if (!tracker_->isActive())
        return;
    const std::u16string& before = tracker_->text(side);
    std::size_t end = start;
    for (int left = removed; left > 0 && end < before.size(); --left)
        end += before.compare(end, 2, u"\r\n") == 0 ? 2 : 1;
    tracker_->replace(side, start, end - start, inserted);
    if (comparesLargeEdits_ && inserted.size() + (end - start) > LargeEdit)
        compareInBackground();
    else
        settleTimer_.start();
}

void RepeatFollower::leaveEditsToNextCompare()
{
    settleTimer_.stop();
}

std::size_t RepeatFollower::plainPosition(TextSide side, int position) const
{
    return pane(side)->plainPosition(position);
}

int RepeatFollower::panePosition(TextSide side, std::size_t plain) const
{
    return pane(side)->documentPosition(plain);
}

PaneRange RepeatFollower::paneRange(TextSide side, analysis::TextRange range) const
{
    return {panePosition(side, range.start), panePosition(side, range.end)};
}

std::vector<PaneRange> RepeatFollower::marks(TextSide side, int from, int to,
                                             analysis::RepeatKind kind) const
{
    std::vector<PaneRange> ranges;
    for (const analysis::TextRange& range :
         tracker_->marks(side, plainPosition(side, from), plainPosition(side, to), kind))
        ranges.push_back(paneRange(side, range));
    return ranges;
}

std::optional<PaneRange> RepeatFollower::markAt(TextSide side, int position,
                                                analysis::RepeatKind kind) const
{
    const std::optional<analysis::TextRange> found =
        tracker_->markAt(side, plainPosition(side, position), kind);
    return found ? std::optional(paneRange(side, *found)) : std::nullopt;
}

bool RepeatFollower::isMarkedWithin(TextSide side, int from, int to,
                                    analysis::RepeatKind kind) const
{
    return tracker_->isMarkedWithin(side, plainPosition(side, from), plainPosition(side, to), kind);
}

std::optional<PaneRange> RepeatFollower::nextMark(TextSide side, int from,
                                                  analysis::RepeatKind kind) const
{
    const std::optional<analysis::TextRange> found =
        tracker_->nextMark(side, plainPosition(side, from), kind);
    return found ? std::optional(paneRange(side, *found)) : std::nullopt;
}

std::optional<PaneRange> RepeatFollower::previousMark(TextSide side, int from,
                                                      analysis::RepeatKind kind) const
{
    const std::optional<analysis::TextRange> found =
        tracker_->previousMark(side, plainPosition(side, from), kind);
    return found ? std::optional(paneRange(side, *found)) : std::nullopt;
}

std::optional<PaneRange> RepeatFollower::pairExtent(int entry, TextSide side) const
{
    const std::optional<analysis::TextRange> extent =
        tracker_->pairExtent(static_cast<std::size_t>(entry), side);
    return extent ? std::optional(paneRange(side, *extent)) : std::nullopt;
}

bool RepeatFollower::isPairDone(int entry) const
{
    return !tracker_->pairRepeats(static_cast<std::size_t>(entry));
}

} // namespace ui
