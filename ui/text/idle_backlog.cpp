#include "idle_backlog.h"

#include <QAbstractEventDispatcher>
#include <QPointer>

#include <algorithm>
#include <limits>

namespace ui {

namespace {

// The passes of the event loop so far: one begins each time the event dispatcher wakes.
quint64 CurrentPass()
{
    static quint64 passes = 0;
    static QPointer<QAbstractEventDispatcher> followed;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher != followed) {
        followed = dispatcher;
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [] { ++passes; });
        ++passes;
    }
    return passes;
}

// The deadline a backlog has in this pass, or nothing when the slice is spent. The first backlog
// to run in a pass opens its slice.
std::optional<QDeadlineTimer> TakeTurn()
{
    static quint64 slicePass = 0;
    static QDeadlineTimer sliceEnds;
    if (const quint64 pass = CurrentPass(); pass != slicePass) {
        slicePass = pass;
        sliceEnds = QDeadlineTimer(IdleBacklog::SliceMilliseconds, Qt::PreciseTimer);
    }
    if (sliceEnds.hasExpired())
        return std::nullopt;
    return sliceEnds;
}

} // namespace

IdleBacklog::IdleBacklog(Work work, QObject* parent) : QObject(parent), work_(std::move(work))
{
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
