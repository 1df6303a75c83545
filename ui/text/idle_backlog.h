// Work left to do while the event loop is idle, a slice of a few milliseconds at a time, from the
// first item that may still need it: the text panes lay out their paragraphs out of view with it,
// the listing counts the rows of its lines, the repeats fold their near repeats and the scroll
// bars' strips find their marks. Every backlog shares one slice a pass of the event loop, taking
// turns, so that however many have work a keystroke never waits longer than a slice.
#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

namespace ui {

class IdleBacklog : public QObject
{
public:
    // How long the backlogs together keep the event loop in a pass of it.
    static constexpr int SliceMilliseconds = 4;

    // `work(from, deadline)` does the items from `from` on until the deadline has passed, and
    // gives the first item it left, or nothing once none is left.
    using Work = std::function<std::optional<int>(int from, const QDeadlineTimer& deadline)>;

    explicit IdleBacklog(Work work, QObject* parent = nullptr);

    // The items from `from` on may need the work again.
    void scheduleFrom(int from);
    bool isPending() const { return timer_.isActive(); }
    // Every item left done at once.
    void finish();

private:
    void run(const QDeadlineTimer& deadline);

    Work work_;
    QTimer timer_;
    int from_ = 0;
    bool running_ = false;
};

} // namespace ui
