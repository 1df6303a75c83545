#include "repeat_navigation.h"

#include "mark_strip.h"
#include "pane_marks.h"
#include "repeat_follower.h"
#include "ui/kit/reading.h"
#include "ui/text/text_pane.h"
#include "ui/windows/result_window.h"
#include "walk_announcement.h"

#include <QAction>
#include <QEvent>

#include <algorithm>
#include <iterator>

namespace ui {

namespace {

using analysis::RepeatKind;
using analysis::TextSide;

// Selects [start, end) of a pane, from its start to its end, and brings it into view: its start
// first, so that the whole of it shows where it fits.
void SelectInPane(TextPane* pane, PaneRange range)
{
    QTextCursor cursor(pane->document());
    cursor.setPosition(range.start);
    pane->setTextCursor(cursor);
    pane->ensureCursorVisible();
    cursor.setPosition(range.end, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
    pane->ensureCursorVisible();
}

struct Walk
{
    QString forward;
    QString backward;
    Qt::Key key;
};

Walk WalkOf(RepeatKind kind)
{
    if (kind == RepeatKind::Exact)
        return {QStringLiteral("Следующее повторение"), QStringLiteral("Предыдущее повторение"),
                Qt::Key_F3};
    return {QStringLiteral("Следующее похожее сочетание"),
            QStringLiteral("Предыдущее похожее сочетание"), Qt::Key_F4};
}

MarkLayer LayerOf(RepeatFollower* follower, TextSide side, RepeatKind kind, MarkSource source)
{
    return MarkLayer{follower, side, kind, source};
}

// The run of a later layer painted over a layer's at `position`, if any.
std::optional<PaneRange> CoverAt(const MarkLayers& layers, std::size_t index, int position)
{
    for (std::size_t later = index + 1; later < layers.size(); ++later) {
        const MarkLayer& layer = layers[later];
        if (!layer.follower->isShowing())
            continue;
        if (std::optional<PaneRange> cover =
                layer.follower->markAt(layer.side, position, layer.kind))
            return cover;
    }
    return std::nullopt;
}

// Where a run of the layer at `index` shows from under the later layers painted over it: forward
// the first character of it they leave, backward the end of the last. A run they hide whole is
// taken at its own edge.
int PaintedEdge(const MarkLayers& layers, std::size_t index, PaneRange run, bool forward)
{
    if (forward) {
        for (int at = run.start; at < run.end;) {
            const std::optional<PaneRange> cover = CoverAt(layers, index, at);
            if (!cover)
                return at;
            at = cover->end;
        }
        return run.start;
    }
    for (int at = run.end; at > run.start;) {
        const std::optional<PaneRange> cover = CoverAt(layers, index, at - 1);
        if (!cover)
            return at;
        at = cover->start;
    }
    return run.end;
}

struct Reached
{
    PaneRange run;
    int edge; // where it shows, as PaintedEdge gives it
};

bool IsNearer(const Reached& a, const std::optional<Reached>& b, bool forward)
{
    if (!b)
        return true;
    if (a.edge != b->edge)
        return forward ? a.edge < b->edge : a.edge > b->edge;
    return forward ? a.run.start < b->run.start : a.run.end > b->run.end;
}

// The run of the layer at `index` that shows first after `from`, or last before it. The run the
// cursor stands in counts when the part of it that shows lies beyond the cursor: under an exact
// mark, the start of a near one is not seen, and the writer who reached that mark by F3 reaches
// the near one next by F4.
std::optional<Reached> NearestShown(const MarkLayers& layers, std::size_t index, int from,
                                    bool forward)
{
    const MarkLayer& layer = layers[index];
    std::optional<Reached> nearest;
    const auto consider = [&](const std::optional<PaneRange>& run) {
        if (!run)
            return;
        const Reached reached{*run, PaintedEdge(layers, index, *run, forward)};
        if ((forward ? reached.edge >= from : reached.edge <= from) &&
            IsNearer(reached, nearest, forward))
            nearest = reached;
    };
    if (forward) {
        consider(layer.follower->markAt(layer.side, from, layer.kind));
        consider(layer.follower->nextMark(layer.side, from, layer.kind));
    } else {
        if (from > 0)
            consider(layer.follower->markAt(layer.side, from - 1, layer.kind));
        consider(layer.follower->previousMark(layer.side, from, layer.kind));
    }
    return nearest;
}

} // namespace

RepeatNavigation::RepeatNavigation(TextPane* newText, TextPane* source, TextPane* auxiliary,
                                   QObject* parent)
    : QObject(parent), newText_(newText), source_(source), auxiliary_(auxiliary),
      follower_(new RepeatFollower(newText, source, this)),
      second_(new RepeatFollower(newText, auxiliary, this))
{
    // Named for tests and accessibility tools.
    follower_->setObjectName(QStringLiteral("RepeatsOfSource"));
    second_->setObjectName(QStringLiteral("RepeatsOfSecondSource"));
    second_->setShown(!auxiliary->isHidden());
    second_->setComparesLargeEdits(true);
    // Painted in this order: the first source's exact marks over everything else.
    addPane(newText, {LayerOf(second_, TextSide::NewText, RepeatKind::Near, MarkSource::Second),
                      LayerOf(follower_, TextSide::NewText, RepeatKind::Near, MarkSource::First),
                      LayerOf(second_, TextSide::NewText, RepeatKind::Exact, MarkSource::Second),
                      LayerOf(follower_, TextSide::NewText, RepeatKind::Exact, MarkSource::First)});
    addPane(source, {LayerOf(follower_, TextSide::Source, RepeatKind::Near, MarkSource::First),
                     LayerOf(follower_, TextSide::Source, RepeatKind::Exact, MarkSource::First)});
    addPane(auxiliary, {LayerOf(second_, TextSide::Source, RepeatKind::Near, MarkSource::Second),
                        LayerOf(second_, TextSide::Source, RepeatKind::Exact, MarkSource::Second)});
    connect(follower_, &RepeatFollower::pairsChanged, this, [this] {
        if (window_)
            window_->updateEntries();
    });
    connect(follower_, &RepeatFollower::nearRepeatsKnown, this, &RepeatNavigation::tellNearRepeats);

    auxiliary->installEventFilter(this);
    secondTimer_.setObjectName(QStringLiteral("SecondSourceTimer"));
    secondTimer_.setSingleShot(true);
    secondTimer_.setInterval(RepeatFollower::SettleInterval);
    connect(&secondTimer_, &QTimer::timeout, this, &RepeatNavigation::compareSecondSource);
    connect(auxiliary->document(), &QTextDocument::contentsChanged, this, [this] {
        if (comparing_ && !second_->isActive())
            secondTimer_.start();
    });
}

void RepeatNavigation::addPane(TextPane* pane, MarkLayers layers)
{
    new PaneMarks(pane, layers);
    auto* strip = new MarkStrip(pane, layers);
    panes_.push_back({pane, std::move(layers)});
    const std::size_t index = panes_.size() - 1;
    // The marks as assistive technology reads them, as a spell checker's: text attributes.
    pane->setPaintedAttributes([self = QPointer(this), index](int position, int& start, int& end) {
        return self ? markAttributes(self->panes_[index], position, start, end) : QString();
    });
    for (const MarkLayer& layer : panes_[index].layers)
        connect(layer.follower, &RepeatFollower::marksChanged, pane,
                &TextPane::paintedAttributesChanged, Qt::UniqueConnection);
    // What F3 or F4 said of the repeat reached holds only while the cursor stays on it.
    for (const auto moved :
         {&QPlainTextEdit::cursorPositionChanged, &QPlainTextEdit::selectionChanged})
        connect(pane, moved, pane, [pane] { SayOfFocused(pane, {}); });
    connect(strip, &MarkStrip::placeChosen, this,
            [this, index](int from, int to) { selectPlace(panes_[index], from, to); });
    for (const RepeatKind kind : {RepeatKind::Exact, RepeatKind::Near}) {
        const Walk walk = WalkOf(kind);
        for (const bool forward : {true, false}) {
            auto* action = new QAction(forward ? walk.forward : walk.backward, pane);
            action->setShortcut(forward ? QKeySequence(walk.key)
                                        : QKeySequence(Qt::SHIFT | walk.key));
            action->setShortcutContext(Qt::WidgetShortcut);
            action->setEnabled(false);
            connect(action, &QAction::triggered, this,
                    [this, index, kind, forward] { selectMark(panes_[index], kind, forward); });
            for (const MarkLayer& each : panes_[index].layers) {
                connect(each.follower, &RepeatFollower::marksChanged, action,
                        [this, index, action] {
                            action->setEnabled(
                                std::ranges::any_of(panes_[index].layers, [](const MarkLayer& l) {
                                    return l.follower->isShowing();
                                }));
                        });
            }
            pane->addAction(action);
        }
    }
}

analysis::ComparisonOutcome RepeatNavigation::compare()
{
    analysis::ComparisonOutcome outcome = follower_->compare();
    if (std::holds_alternative<analysis::ComparisonResult>(outcome)) {
        comparing_ = true;
        // Once the result and its marks have shown: the second source's compare, on the worker,
        // would otherwise share the processor with their painting.
        second_->leaveEditsToNextCompare();
        secondTimer_.start(RepeatFollower::SettleInterval);
    }
    return outcome;
}

// Only while the second source is shown and holds text: a compare with nothing still cuts the
// whole new text. Once the second source's repeats are followed, a compare of the same texts
// would give the marks they have: what was typed since is settled instead, without a second
// copy of both texts and their tables.
void RepeatNavigation::compareSecondSource()
{
    secondTimer_.setInterval(RepeatFollower::SettleInterval);
    if (auxiliary_->isHidden() || auxiliary_->document()->isEmpty())
        return;
    if (second_->isActive() || second_->isComparing())
        second_->settle();
    else
        second_->compareInBackground(follower_);
}

bool RepeatNavigation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == auxiliary_ &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
        const bool shown = event->type() == QEvent::ShowToParent;
        second_->setShown(shown);
        // Shown for the first time since a compare: its repeats are worked out now.
        if (shown && comparing_ && !second_->isActive() && !second_->isComparing())
            secondTimer_.start();
    }
    return QObject::eventFilter(watched, event);
}

void RepeatNavigation::showEntriesIn(ResultWindow* window)
{
    if (window != window_) {
        window_ = window;
        connect(window, &ResultWindow::entryChosen, this,
                [this](int entry) { selectPair(entry, false); });
        connect(window, &ResultWindow::entryActivated, this,
                [this](int entry) { selectPair(entry, true); });
    }
    window->setEntries(follower_->pairCount(),
                       [this](int entry) { return follower_->isPairDone(entry); });
    tellNearRepeats();
}

void RepeatNavigation::tellNearRepeats()
{
    if (!window_)
        return;
    if (follower_->areNearRepeatsAbandoned())
        window_->setNearRepeatsAbandoned();
    else
        window_->setNearRepeatCount(follower_->areNearRepeatsKnown()
                                        ? std::optional(follower_->nearRepeatCount())
                                        : std::nullopt);
}

// Leaves the keyboard where it is; activated, the new-text pane takes the keyboard with the
// combination selected, ready to be retyped. An entry reworded has no pair to show: what an
// entry chosen before selected is let go, so that it is not taken for this one's.
void RepeatNavigation::selectPair(int entry, bool activate)
{
    for (const auto& [pane, side] :
         {std::pair{newText_, TextSide::NewText}, std::pair{source_, TextSide::Source}}) {
        if (const std::optional<PaneRange> extent = follower_->pairExtent(entry, side)) {
            SelectInPane(pane, *extent);
        } else if (QTextCursor cursor = pane->textCursor(); cursor.hasSelection()) {
            cursor.clearSelection();
            pane->setTextCursor(cursor);
        }
    }
    if (!activate)
        return;
    QWidget* mainWindow = newText_->window();
    mainWindow->activateWindow();
    mainWindow->raise();
    newText_->setFocus(Qt::OtherFocusReason);
}

// The nearest run of the kind, where it shows, in any of the pane's layers shown; past the last,
// the first again.
// A screen reader hears which repeat of how many it is, as the pane's description until the
// cursor moves on.
void RepeatNavigation::selectMark(const Pane& pane, RepeatKind kind, bool forward)
{
    const QTextCursor cursor = pane.pane->textCursor();
    const int end = pane.pane->document()->characterCount() - 1;
    std::optional<Reached> nearest;
    bool wrapped = false;
    for (const int from :
         {forward ? cursor.selectionEnd() : cursor.selectionStart(), forward ? 0 : end}) {
        for (std::size_t index = 0; index < pane.layers.size(); ++index) {
            const MarkLayer& layer = pane.layers[index];
            if (layer.kind != kind || !layer.follower->isShowing())
                continue;
            if (const std::optional<Reached> reached =
                    NearestShown(pane.layers, index, from, forward);
                reached && IsNearer(*reached, nearest, forward))
                nearest = reached;
        }
        if (nearest)
            break;
        wrapped = true;
    }
    const std::optional<PaneRange> found = nearest ? std::optional(nearest->run) : std::nullopt;
    if (found)
        SelectInPane(pane.pane, *found);
    std::vector<PaneRange> runs;
    for (const MarkLayer& layer : pane.layers) {
        if (layer.kind == kind && layer.follower->isShowing())
            std::ranges::copy(layer.follower->marks(layer.side, 0, end, kind),
                              std::back_inserter(runs));
    }
    // Cleared first, so that the same words said again are heard again.
    SayOfFocused(pane.pane, {});
    SayOfFocused(pane.pane, WalkAnnouncement(kind, std::move(runs), found, forward, wrapped));
}

// The mark painted over the others at `position`, if any, and the run around it over which the
// marks there stay the same.
QString RepeatNavigation::markAttributes(const Pane& pane, int position, int& start, int& end)
{
    QString attributes;
    for (const MarkLayer& layer : pane.layers) {
        if (!layer.follower->isShowing())
            continue;
        if (const std::optional<PaneRange> run =
                layer.follower->markAt(layer.side, position, layer.kind)) {
            start = std::max(start, run->start);
            end = std::min(end, run->end);
            attributes = MarkAttributes(layer.source, layer.kind);
            continue;
        }
        if (const std::optional<PaneRange> before =
                layer.follower->previousMark(layer.side, position, layer.kind))
            start = std::max(start, before->end);
        if (const std::optional<PaneRange> after =
                layer.follower->nextMark(layer.side, position, layer.kind))
            end = std::min(end, after->start);
    }
    return attributes;
}

// A place on the strip: the first mark there, of the kinds painted over the others first.
void RepeatNavigation::selectPlace(const Pane& pane, int from, int to)
{
    for (std::size_t i = pane.layers.size(); i-- > 0;) {
        const MarkLayer& layer = pane.layers[i];
        if (!layer.follower->isShowing())
            continue;
        // The whole repeat, not the part of it that the place clicked stands for.
        std::optional<PaneRange> whole = layer.follower->markAt(layer.side, from, layer.kind);
        if (!whole) {
            whole = layer.follower->nextMark(layer.side, from, layer.kind);
            if (whole && whole->start >= std::max(to, from + 1))
                whole.reset();
        }
        if (whole) {
            SelectInPane(pane.pane, *whole);
            return;
        }
    }
}

} // namespace ui
