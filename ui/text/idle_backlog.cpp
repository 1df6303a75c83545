#include "idle_backlog.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>

#include <algorithm>
#include <limits>

namespace ui {

namespace {

// The slice of the current pass of the event loop, which the first backlog to run opens; a pass
// begins when the event dispatcher wakes. Should it not say so, a slice long over opens anew.
struct Turn
{
    bool open = false;
    QDeadlineTimer ends;
    QElapsedTimer opened;
};

Turn& CurrentTurn()
{
    static Turn turn;
    return turn;
}

// The deadline a backlog has in this pass, or nothing when the slice is spent.
std::optional<QDeadlineTimer> TakeTurn()
{
    Turn& turn = CurrentTurn();
    if (!turn.open || turn.opened.elapsed() > qint64{2} * IdleBacklog::SliceMilliseconds) {
        turn.open = true;
        turn.opened.start();
        turn.ends = QDeadlineTimer(IdleBacklog::SliceMilliseconds, Qt::PreciseTimer);
    }
    if (turn.ends.hasExpired())
        return std::nullopt;
    return turn.ends;
}

} // namespace

IdleBacklog::IdleBacklog(Work work, QObject* parent) : QObject(parent), work_(std::move(work))
{
    static const bool followsThePasses = [] {
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
            connect(dispatcher, &QAbstractEventDispatcher::awake,
                    [] { CurrentTurn().open = false; });
        return true;
    }();
    Q_UNUSED(followsThePasses)
    // A zero timer fires once the event loop has nothing else to do; the others' turn taken, it
    // waits for the next pass.
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (const std::optional<QDeadlineTimer> deadline = TakeTurn())
            run(*deadline);
    });
}

void IdleBacklog::scheduleFrom(int from)
{
    from_ = isPending() || running_ ? std::min(from_, from) : from;
    timer_.start();
}

void IdleBacklog::finish()
{
    if (isPending())
        run(QDeadlineTimer(QDeadlineTimer::Forever));
}

// What the work asks for again while it runs is kept: it may come before where the work stops.
void IdleBacklog::run(const QDeadlineTimer& deadline)
{
    const int from = from_;
    from_ = std::numeric_limits<int>::max();
    running_ = true;
    const std::optional<int> left = work_(from, deadline);
    running_ = false;
    if (left)
        from_ = std::min(from_, *left);
    else if (from_ == std::numeric_limits<int>::max())
        timer_.stop();
}

} // namespace ui
