#include "idle_backlog.h"

#include <algorithm>
#include <limits>

namespace ui {

IdleBacklog::IdleBacklog(Work work, QObject* parent) : QObject(parent), work_(std::move(work))
{
    // A zero timer fires once the event loop has nothing else to do.
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this,
            [this] { run(QDeadlineTimer(SliceMilliseconds, Qt::PreciseTimer)); });
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
