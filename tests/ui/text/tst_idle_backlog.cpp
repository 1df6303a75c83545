// The idle backlog: work done a slice at a time while the event loop is idle, from the first item
// that may still need it, whatever asks for it again meanwhile.
#include "ui/text/idle_backlog.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>
#include <vector>

class tst_IdleBacklog : public QObject
{
    Q_OBJECT

private slots:
    void slicesLeaveTheEventLoopFree();
    void backlogsShareOneSlice();
    void restartsFromTheEarliestAskedFor_data();
    void restartsFromTheEarliestAskedFor();
    void finishDoesTheRestAtOnce();
};

namespace {

// Items that each take a millisecond, done in order; every item done is noted.
struct SlowItems
{
    explicit SlowItems(int items) : count(items) {}

    int count = 0;
    std::vector<int> done;
    int slices = 0;
    std::function<void(int)> whileDoing;

    std::optional<int> operator()(int from, const QDeadlineTimer& deadline)
    {
        ++slices;
        int item = from;
        for (; item < count && !deadline.hasExpired(); ++item) {
            QElapsedTimer busy;
            busy.start();
            while (busy.elapsed() < 1) {
            }
            done.push_back(item);
            if (whileDoing)
                whileDoing(item);
        }
        return item < count ? std::optional(item) : std::nullopt;
    }
};

} // namespace

// Forty items of a millisecond take several slices; between two of them the event loop runs.
void tst_IdleBacklog::slicesLeaveTheEventLoopFree()
{
    SlowItems items(40);
    ui::IdleBacklog backlog(std::ref(items));
    backlog.scheduleFrom(0);
    QVERIFY(backlog.isPending());
    int between = 0;
    QTimer other;
    other.setInterval(0);
    connect(&other, &QTimer::timeout, [&between] { ++between; });
    other.start();
    QTRY_VERIFY(!backlog.isPending());
    QCOMPARE(int(items.done.size()), 40);
    QVERIFY2(items.slices >= 40 / (ui::IdleBacklog::SliceMilliseconds + 1),
             qPrintable(QString::number(items.slices)));
    QVERIFY(between >= items.slices - 1);
}

// Two backlogs with work take one slice together in a pass of the event loop, and turns across
// passes, so that both are done.
void tst_IdleBacklog::backlogsShareOneSlice()
{
    SlowItems first(40);
    SlowItems second(40);
    ui::IdleBacklog firstBacklog(std::ref(first));
    ui::IdleBacklog secondBacklog(std::ref(second));
    firstBacklog.scheduleFrom(0);
    secondBacklog.scheduleFrom(0);
    QCoreApplication::processEvents();
    const std::size_t inOnePass = first.done.size() + second.done.size();
    QVERIFY2(inOnePass <= ui::IdleBacklog::SliceMilliseconds + 2,
             qPrintable(QString::number(inOnePass)));
    QTRY_VERIFY(!firstBacklog.isPending() && !secondBacklog.isPending());
    QCOMPARE(int(first.done.size()), 40);
    QCOMPARE(int(second.done.size()), 40);
}

void tst_IdleBacklog::restartsFromTheEarliestAskedFor_data()
{
    QTest::addColumn<bool>("whileWorking"); // asked for from within the work, or between slices
    QTest::newRow("between slices") << false;
    QTest::newRow("while it works") << true;
}

// Asked for again from an item before the one it reached, it goes back there; asked for from a
// later one, it goes on where it was.
void tst_IdleBacklog::restartsFromTheEarliestAskedFor()
{
    QFETCH(bool, whileWorking);
    SlowItems items(30);
    ui::IdleBacklog* backlog = nullptr;
    bool asked = false;
    const auto askAgain = [&] {
        asked = true;
        backlog->scheduleFrom(25);
        backlog->scheduleFrom(3);
    };
    if (whileWorking) {
        items.whileDoing = [&](int item) {
            if (item == 10 && !asked)
                askAgain();
        };
    }
    ui::IdleBacklog made(std::ref(items));
    backlog = &made;
    made.scheduleFrom(5);
    if (!whileWorking) {
        QTRY_VERIFY(items.done.size() >= 10);
        askAgain();
    }
    QTRY_VERIFY(!made.isPending());
    QCOMPARE(items.done.front(), 5);
    QCOMPARE(items.done.back(), 29);
    const auto again = std::ranges::find(items.done, 3);
    QVERIFY(again != items.done.end());
    // From 3 on, every item once more.
    QCOMPARE(int(items.done.end() - again), 30 - 3);
}

void tst_IdleBacklog::finishDoesTheRestAtOnce()
{
    SlowItems items(20);
    ui::IdleBacklog backlog(std::ref(items));
    backlog.finish(); // nothing asked for: nothing done
    QVERIFY(items.done.empty());
    backlog.scheduleFrom(4);
    backlog.finish();
    QVERIFY(!backlog.isPending());
    QCOMPARE(items.slices, 1);
    QCOMPARE(int(items.done.size()), 16);
}

QTEST_MAIN(tst_IdleBacklog)
#include "tst_idle_backlog.moc"
