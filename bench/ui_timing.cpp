// Times the real windows headless with large texts, as the writer waits for them: a paste through
// the clipboard or a keystroke, then the posted events, the next Timer3 tick and the repaint of
// the window; the compare click until the result window is painted; an idle main window.
//
//   ui_timing                 every goal, each figure beside it
//   ui_timing shapes book1    only these parts (shapes, book1, book8, kinds, repeats,
//                             paragraphs, longwords, repeatedwords)
//   ui_timing fifty           a paragraph of 50 MB, asked for alone (not among every goal)
//   ui_timing --growth 1 2 4  paste and keystroke in one paragraph and in text without spaces of
//                             each size in MB, and the peak memory of each, to show how the work
//                             grows with the text
#include "app/application.h"
#include "article_generator.h"
#include "ui/kit/strings.h"
#include "ui/main/main_window.h"
#include "ui/repeats/mark_strip.h"
#include "ui/repeats/repeat_follower.h"
#include "ui/text/text_pane.h"
#include "ui/windows/listing_pane.h"
#include "ui/windows/result_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t MegabyteOfUtf16 = std::size_t{512} * 1024; // code units

const std::u16string_view Base64Alphabet =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Letters and digits alone: Unicode's line breaking finds no boundary between any two of them.
const std::u16string_view LettersAndDigits =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
const std::u16string_view CyrillicLetters = u"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
const std::u16string_view PunctuationMarks = u".,;:!?\u2026";

double Milliseconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

double Slowest(const std::vector<double>& values)
{
    return *std::ranges::max_element(values);
}

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The peak resident size since the start, or since the last RestartPeak().
double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    double pages = 0;
    double resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024 * 1024);
}

double wholeRunPeak = 0;

double WholeRunPeakMegabytes()
{
    return std::max(wholeRunPeak, PeakMegabytes());
}

// Lets the next PeakMegabytes() tell the peak of one part alone: Linux sets the peak back to the
// present size when 5 is written to clear_refs.
void RestartPeak()
{
    wholeRunPeak = WholeRunPeakMegabytes();
    std::ofstream("/proc/self/clear_refs") << "5";
}

void TickStatistics(ui::MainWindow& window)
{
    auto* timer = window.findChild<QTimer*>(QStringLiteral("Timer3"));
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
}

// What follows an input event before the writer sees its effect: the posted events (deferred
// layout and updates), the next Timer3 tick, and the window painted.
void Settle(ui::MainWindow& window)
{
    QCoreApplication::sendPostedEvents();
    TickStatistics(window);
    QCoreApplication::sendPostedEvents();
    window.repaint();
}

double Timed(const std::function<void()>& action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    return Milliseconds(timer);
}

// Whether a paste's peak memory is told from the empty pane on, the clipboard's copy included.
enum class PeakOfPaste : std::uint8_t
{
    Kept,
    FromTheEmptyPane,
};

// Empties the new-text pane, puts `text` on the clipboard and times Ctrl+V until painted.
double TimePaste(ui::MainWindow& window, const std::u16string& text,
                 PeakOfPaste peak = PeakOfPaste::Kept)
{
    ui::TextPane* pane = window.newTextPane();
    pane->replacePlainText(QString());
    Settle(window);
    if (peak == PeakOfPaste::FromTheEmptyPane)
        RestartPeak();
    QApplication::clipboard()->setText(ui::ToQString(text));
    pane->setFocus();
    return Timed([&] {
        QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
        Settle(window);
    });
}

// Keystrokes where the cursor stands, each until painted: letters with a space every sixth.
std::vector<double> TimeKeystrokes(ui::MainWindow& window, int count)
{
    ui::TextPane* pane = window.newTextPane();
    pane->setFocus();
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        times.push_back(Timed([&] {
            QTest::keyClick(pane, i % 6 == 5 ? Qt::Key_Space : Qt::Key_A);
            Settle(window);
        }));
    }
    return times;
}

double TimeCompare(ui::MainWindow& window, int runs)
{
    auto* compare = window.findChild<QPushButton*>(QStringLiteral("Command4"));
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        // Until the result window and the marks of both panes are painted.
        times.push_back(Timed([&] {
            compare->click();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            window.resultWindow()->repaint();
            window.repaint();
        }));
    }
    return Median(times);
}

void Report(const char* what, double value, const char* unit, double goal)
{
    std::printf("%-66s %10.2f %-3s (goal < %g: %s)\n", what, value, unit, goal,
                value < goal ? "met" : "NOT MET");
    std::fflush(stdout);
}

void ReportFigure(const char* what, double value, const char* unit)
{
    std::printf("%-66s %10.2f %s\n", what, value, unit);
    std::fflush(stdout);
}

// Runs the event loop until `done`, while another thread stands for the keyboard: every 2 ms it
// posts an event to `receiver`, as the platform posts a key press. The time until done, and the
// longest an input event waited meanwhile.
struct IdleRun
{
    double elapsed;
    double longestWait;
};

IdleRun RunUntil(QObject* receiver, const std::function<bool()>& done)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> waits;
    std::atomic<bool> finished{false};
    QElapsedTimer total;
    total.start();
    std::thread keyboard([&] {
        while (!finished) {
            const Clock::time_point posted = Clock::now();
            QMetaObject::invokeMethod(
                receiver,
                [posted, &waits] {
                    waits.push_back(
                        std::chrono::duration<double, std::milli>(Clock::now() - posted).count());
                },
                Qt::QueuedConnection);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double elapsed = Milliseconds(total);
    finished = true;
    keyboard.join();
    QCoreApplication::sendPostedEvents();
    return {elapsed, waits.empty() ? 0 : Slowest(waits)};
}

// What a paste leaves to lay out out of view, done while the event loop is idle: the time until
// the pane's scroll range is exact, and how long input waits meanwhile.
void TimeIdleLayout(ui::TextPane* pane, const char* what)
{
    const IdleRun run = RunUntil(pane, [pane] { return pane->isLaidOut(); });
    ReportFigure(qPrintable(QStringLiteral("  then the rest of %1 laid out while idle, until the "
                                           "scroll range is exact")
                                .arg(QLatin1String(what))),
                 run.elapsed, "ms");
    Report("  meanwhile the longest an input event waits", run.longestWait, "ms", 16);
}

void SetPanes(ui::MainWindow& window, const std::u16string& source, const std::u16string& newText)
{
    window.sourcePane()->replacePlainText(ui::ToQString(source));
    window.newTextPane()->replacePlainText(ui::ToQString(newText));
    Settle(window);
}

// A megabyte of text of every shape: pasted, then typed into at its end.
void TimeShapes(ui::MainWindow& window)
{
    bench::ArticleGenerator generator(2);
    const struct
    {
        const char* name;
        std::u16string text;
    } shapes[] = {
        {"no space (base64)", generator.drawnFrom(Base64Alphabet, MegabyteOfUtf16)},
        {"no space (letters and digits)", generator.drawnFrom(LettersAndDigits, MegabyteOfUtf16)},
        {"no space (Cyrillic letters)", generator.drawnFrom(CyrillicLetters, MegabyteOfUtf16)},
        {"CJK ideographs", generator.ideographs(MegabyteOfUtf16)},
        {"any characters of the first plane", generator.anyCharacters(MegabyteOfUtf16)},
        {"punctuation only", generator.drawnFrom(PunctuationMarks, MegabyteOfUtf16)},
        {"one paragraph of prose", generator.paragraph(MegabyteOfUtf16)},
    };
    for (const auto& shape : shapes) {
        const double paste = TimePaste(window, shape.text);
        Report(qPrintable(QStringLiteral("Paste 1 MB, %1, until painted").arg(shape.name)), paste,
               "ms", 1000);
        Report(qPrintable(QStringLiteral("  then a keystroke with tick and repaint, slowest of 3")),
               Slowest(TimeKeystrokes(window, 3)), "ms", 300);
    }
    window.newTextPane()->replacePlainText(QString());
    Settle(window);
}

// The share of one core the process takes while nobody types for `milliseconds`.
double IdleShareOfCore(QApplication& application, int milliseconds)
{
    const double cpuBefore = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(milliseconds, &application, &QCoreApplication::quit);
    QApplication::exec();
    return 100 * (ProcessCpuSeconds() - cpuBefore) / (Milliseconds(wall) / 1e3);
}

void TimeIdle(QApplication& application, ui::MainWindow& window)
{
    // Nobody types: once the panes' background layout has settled, the timers go on ticking for
    // three seconds. A bare 1 ms timer is measured first, as the floor of any such window.
    IdleShareOfCore(application, 3000);
    window.hide();
    double bareShare = 0;
    {
        QTimer bare;
        bare.setInterval(1);
        QObject::connect(&bare, &QTimer::timeout, [] {});
        bare.start();
        bareShare = IdleShareOfCore(application, 3000);
        ReportFigure("A bare 1 ms timer and nothing else, share of one core", bareShare, "%");
    }
    window.show();
    IdleShareOfCore(application, 500);
    // The window's own cost is what it adds to the timer that Timer3 is anyway.
    Report("Idle main window holding 1 MB, share of one core, above the bare timer",
           IdleShareOfCore(application, 3000) - bareShare, "%", 0.5);
}

// One paragraph of megabytes, a million lines of a word, and one letter under a million accents
// (a single character as the writer sees it, which no layout may cut): each pasted until painted,
// the megabyte ones then typed into in their middle; and the idle window holding a paragraph of
// 8 MB beside it holding a book of 8 MB.
void TimeParagraphs(QApplication& application, ui::MainWindow& window)
{
    bench::ArticleGenerator generator(5);
    std::u16string lines;
    for (int line = 0; line < 1'000'000; ++line)
        lines += u"слово\r\n";
    const struct
    {
        const char* name;
        std::u16string text;
        double pasteGoal;
    } shapes[] = {
        {"a 1 MB paragraph of prose", generator.paragraph(MegabyteOfUtf16), 200},
        {"a 1 MB paragraph of letters and digits, no space",
         generator.drawnFrom(LettersAndDigits, MegabyteOfUtf16), 200},
        {"an 8 MB paragraph of prose", generator.paragraph(8 * MegabyteOfUtf16), 1000},
        {"a million one-word lines", std::move(lines), 1000},
        {"a letter with a million combining marks", u"а" + std::u16string(1'000'000, u'\u0301'),
         1000},
    };
    ui::TextPane* pane = window.newTextPane();
    for (const auto& shape : shapes) {
        Report(qPrintable(QStringLiteral("Paste %1, until painted").arg(shape.name)),
               TimePaste(window, shape.text, PeakOfPaste::FromTheEmptyPane), "ms", shape.pasteGoal);
        while (!pane->isLaidOut())
            QCoreApplication::processEvents();
        // The clipboard's copy and the text made here count too: twice the text in UTF-16.
        ReportFigure("  peak memory until it is all laid out", PeakMegabytes(), "MB");
        if (shape.text.size() > MegabyteOfUtf16)
            continue;
        QTextCursor middle = pane->textCursor();
        middle.setPosition(pane->document()->characterCount() / 2);
        pane->setTextCursor(middle);
        const std::vector<double> keystrokes = TimeKeystrokes(window, 30);
        Report("  then a keystroke, tick and repaint in its middle, median", Median(keystrokes),
               "ms", 16);
        Report("  then a keystroke, tick and repaint in its middle, slowest", Slowest(keystrokes),
               "ms", 33);
    }

    const auto idleHolding = [&](const std::u16string& text) {
        pane->replacePlainText(ui::ToQString(text));
        Settle(window);
        while (!pane->isLaidOut())
            QCoreApplication::processEvents();
        IdleShareOfCore(application, 500);
        return IdleShareOfCore(application, 3000);
    };
    const double book = idleHolding(generator.article(8 * MegabyteOfUtf16));
    ReportFigure("Idle main window holding an 8 MB book, share of one core", book, "%");
    Report("Idle main window holding an 8 MB paragraph, share of one core, above the book",
           idleHolding(shapes[2].text) - book, "%", 0.5);
    pane->replacePlainText(QString());
    Settle(window);
}

// A paragraph of 50 MB beside a source of its first megabyte: pasted until painted, compared,
// then typed into in its middle with the marks of the compare, and the peak memory of it all.
// The text made here counts in the peak until it is pasted.
void TimeFiftyMegabytes(ui::MainWindow& window)
{
    bench::ArticleGenerator generator(6);
    std::u16string paragraph = generator.paragraph(50 * MegabyteOfUtf16);
    SetPanes(window, paragraph.substr(0, MegabyteOfUtf16), {});
    Report("Paste a 50 MB paragraph, until painted", TimePaste(window, paragraph), "ms", 1000);
    std::u16string().swap(paragraph);
    QApplication::clipboard()->clear();
    ReportFigure("  then compare it with its first megabyte", TimeCompare(window, 1), "ms");
    ui::TextPane* pane = window.newTextPane();
    QTextCursor middle = pane->textCursor();
    middle.setPosition(pane->document()->characterCount() / 2);
    pane->setTextCursor(middle);
    const std::vector<double> keystrokes = TimeKeystrokes(window, 30);
    Report("  then a keystroke with the marks, tick and repaint in its middle, median",
           Median(keystrokes), "ms", 16);
    Report("  then a keystroke with the marks, tick and repaint in its middle, slowest",
           Slowest(keystrokes), "ms", 33);
    SetPanes(window, {}, {});
    Report("  peak memory of it all, the panes emptied at the end", PeakMegabytes(), "MB", 1000);
}

// A word of 1000 letters `copies` times, one space between: every shingle is the same three
// words, so the equal pairs grow with the square of the copies.
std::u16string LongWords(std::size_t copies)
{
    const std::u16string word(1000, u'ж');
    std::u16string text;
    text.reserve(copies * (word.size() + 1));
    for (std::size_t i = 0; i < copies; ++i) {
        if (i > 0)
            text += u' ';
        text += word;
    }
    return text;
}

// Pastes `text` over the whole text of `pane`, as the writer does, until painted.
void PasteOver(ui::MainWindow& window, ui::TextPane* pane, const QString& text)
{
    QApplication::clipboard()->setText(text);
    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
    Settle(window);
}

// The peak memory of pasting into both panes, then of the compare click to the painted result
// window, the panes' own memory included.
// With the marks of a compare in both panes: typing in the middle of the new text, and bringing
// the marks up to date after it, each until painted.
void TimeEditsWithMarks(ui::MainWindow& window, const QString& texts)
{
    ui::TextPane* pane = window.newTextPane();
    QTextCursor middle = pane->textCursor();
    middle.setPosition(pane->document()->characterCount() / 2);
    pane->setTextCursor(middle);
    const std::vector<double> keystrokes = TimeKeystrokes(window, 30);
    Report(qPrintable(
               QStringLiteral("Keystroke, tick and repaint in %1 with marks, median").arg(texts)),
           Median(keystrokes), "ms", 16);
    Report(qPrintable(
               QStringLiteral("Keystroke, tick and repaint in %1 with marks, slowest").arg(texts)),
           Slowest(keystrokes), "ms", 16);

    // Each follower settles on its own timer event, so the event loop waits for one at a time.
    const struct
    {
        const char* name;
        const char* marks;
    } followers[] = {{"RepeatsOfSource", "the source"},
                     {"RepeatsOfSecondSource", "the second source"}};
    for (const auto& each : followers) {
        auto* follower = window.findChild<ui::RepeatFollower*>(QLatin1String(each.name));
        if (!follower->isActive())
            continue;
        std::vector<double> settles;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(pane, i % 2 ? Qt::Key_Space : Qt::Key_B);
            Settle(window);
            settles.push_back(Timed([&] {
                follower->settle();
                QCoreApplication::processEvents();
                window.repaint();
            }));
        }
        Report(qPrintable(QStringLiteral("Marks of %1 brought up to date after an edit and "
                                         "painted, %2, slowest")
                              .arg(QLatin1String(each.marks), texts)),
               Slowest(settles), "ms", 50);
    }
}

// The same in an 8 MB book, and a click on the listing until both panes show the pair selected.
void TimeMarks(ui::MainWindow& window)
{
    TimeEditsWithMarks(window, QStringLiteral("an 8 MB book"));
    auto* listing =
        window.resultWindow()->findChild<ui::ListingPane*>(QStringLiteral("RichTextBox1"));
    std::vector<double> clicks;
    for (int line = 0; line < 6; ++line) {
        const QRect place = listing->lineRect(listing->topLine() + line);
        clicks.push_back(Timed([&] {
            QTest::mouseClick(listing->viewport(), Qt::LeftButton, {}, place.center());
            QCoreApplication::sendPostedEvents();
            window.repaint();
        }));
    }
    Report("Click on a listing line until both panes show the pair, slowest", Slowest(clicks), "ms",
           50);
}

// Texts whose every shingle repeats many times over: an edit's cost is its neighbourhood's,
// however often its shingles occur elsewhere. In paragraphs of a hundred words, and as one
// paragraph (whose layout is the text pane's own matter).
void TimeRepeatedWords(ui::MainWindow& window)
{
    std::mt19937 random(7);
    const struct
    {
        const char* name;
        std::vector<QString> words;
    } shapes[] = {{"1 MB of \"a a a\"", {QStringLiteral("a")}},
                  {"1 MB of three words at random",
                   {QStringLiteral("да"), QStringLiteral("нет"), QStringLiteral("мир")}}};
    for (const auto& shape : shapes) {
        for (const bool paragraphs : {true, false}) {
            QString text;
            for (int word = 0; text.size() < static_cast<qsizetype>(MegabyteOfUtf16); ++word) {
                text += shape.words[random() % shape.words.size()];
                text += paragraphs && word % 100 == 99 ? QStringLiteral("\n") : QStringLiteral(" ");
            }
            window.sourcePane()->replacePlainText(text);
            window.newTextPane()->replacePlainText(text);
            Settle(window);
            const QString texts = QStringLiteral("%1 %2 in both panes")
                                      .arg(QLatin1String(shape.name),
                                           paragraphs ? QStringLiteral("in paragraphs")
                                                      : QStringLiteral("in one paragraph"));
            Report(qPrintable(QStringLiteral("Click on Command4, %1").arg(texts)),
                   TimeCompare(window, 1), "ms", 500);
            TimeEditsWithMarks(window, texts);
        }
    }
}

void TimeLongWords(ui::MainWindow& window)
{
    const struct
    {
        const char* name;
        std::size_t copies;
    } cases[] = {
        {"320 words of 1000 letters", 320},
        {"8 MB of 1000-letter words", 8 * MegabyteOfUtf16 / 1001},
    };
    for (const auto& shape : cases) {
        RestartPeak();
        const QString text = ui::ToQString(LongWords(shape.copies));
        PasteOver(window, window.newTextPane(), text);
        PasteOver(window, window.sourcePane(), text);
        const double filling = PeakMegabytes();
        RestartPeak();
        Report(qPrintable(QStringLiteral("Click on Command4, %1 in both panes").arg(shape.name)),
               TimeCompare(window, 1), "ms", 500);
        Report("  peak memory of pasting it into both panes", filling, "MB", 300);
        Report("  peak memory of the compare, the filled panes included", PeakMegabytes(), "MB",
               300);
        ReportFigure("  memory kept afterwards", ResidentMegabytes(), "MB");
    }
}

// Every kind of mark: the new text repeats the source word for word and in other endings, and
// the second source word for word, each pane `megabytes` long. The exact result comes as fast as
// ever; the near repeats and the second source's marks come after it while input goes on.
void TimeEveryKind(ui::MainWindow& window, int megabytes)
{
    bench::ArticleGenerator generator(4);
    const std::size_t size = static_cast<std::size_t>(megabytes) * MegabyteOfUtf16;
    {
        const std::u16string source = generator.article(size);
        const std::u16string second = generator.article(size);
        window.auxiliaryPane()->replacePlainText(ui::ToQString(second));
        SetPanes(window, source, generator.rewriteOfTwo(source, second));
    }
    window.findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
    while (window.auxiliaryPane()->isHidden())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::clipboard()->clear();
    RestartPeak();
    const QString texts = QStringLiteral("%1 MB a pane, the second source's too").arg(megabytes);
    Report(
        qPrintable(QStringLiteral("Click on Command4 to the painted result window, %1").arg(texts)),
        TimeCompare(window, 1), "ms", megabytes == 1 ? 500 : 250);
    auto* first = window.findChild<ui::RepeatFollower*>(QStringLiteral("RepeatsOfSource"));
    auto* second = window.findChild<ui::RepeatFollower*>(QStringLiteral("RepeatsOfSecondSource"));
    const QList<ui::MarkStrip*> strips = window.findChildren<ui::MarkStrip*>();
    const IdleRun run = RunUntil(window.newTextPane(), [&] {
        return first->areNearRepeatsKnown() && second->isActive() && !second->isComparing() &&
               std::ranges::all_of(strips,
                                   [](const ui::MarkStrip* strip) { return strip->isWorkedOut(); });
    });
    const QString near =
        QStringLiteral("  then the near repeats, the second source's marks and the "
                       "scroll bars' strips");
    if (megabytes == 1)
        Report(qPrintable(near), run.elapsed, "ms", 1000);
    else
        ReportFigure(qPrintable(near), run.elapsed, "ms");
    Report("  meanwhile the longest an input event waits", run.longestWait, "ms", 16);
    std::printf(
        "  near repeats of the source: %d; %s\n", first->nearRepeatCount(),
        qPrintable(
            window.resultWindow()->findChild<QLabel*>(QStringLiteral("NearRepeatsLine"))->text()));
    if (megabytes > 1)
        TimeEditsWithMarks(window, QStringLiteral("an %1 MB book with every kind").arg(megabytes));
    // The second source cleared as the writer clears it: every shingle it held edited at once.
    ui::TextPane* secondPane = window.auxiliaryPane();
    secondPane->setFocus();
    QTest::keyClick(secondPane, Qt::Key_A, Qt::ControlModifier);
    ReportFigure(qPrintable(QStringLiteral("Ctrl+A and Delete in the second source of %1 MB, "
                                           "until painted")
                                .arg(megabytes)),
                 Timed([&] {
                     QTest::keyClick(secondPane, Qt::Key_Delete);
                     Settle(window);
                 }),
                 "ms");
    Report("  peak memory of it all, the filled panes included", PeakMegabytes(), "MB", 300);
}

int Goals(QApplication& application, ui::MainWindow& window, const QStringList& only)
{
    const auto wanted = [&only](const char* section) {
        return only.isEmpty() || only.contains(QLatin1String(section));
    };
    if (wanted("shapes"))
        TimeShapes(window);

    bench::ArticleGenerator generator(1);
    if (wanted("book1")) {
        const std::u16string source = generator.article(MegabyteOfUtf16);
        const std::u16string newText = generator.rewrite(source);
        SetPanes(window, source, newText);
        const double compareMs = TimeCompare(window, 5);
        Report("Click on Command4 to the painted result window, 1 MB a pane", compareMs, "ms", 500);

        window.newTextPane()->moveCursor(QTextCursor::End);
        const std::vector<double> keystrokes = TimeKeystrokes(window, 60);
        Report("Keystroke, tick and repaint in a 1 MB book, median", Median(keystrokes), "ms", 16);
        Report("Keystroke, tick and repaint in a 1 MB book, slowest", Slowest(keystrokes), "ms",
               16);
        TimeIdle(application, window);
    }
    if (wanted("book8")) {
        std::u16string source = generator.article(8 * MegabyteOfUtf16);
        std::u16string newText = generator.rewrite(source);
        SetPanes(window, source, {});
        Report("Paste an 8 MB book through the clipboard, until painted",
               TimePaste(window, newText), "ms", 1000);
        ui::TextPane* pane = window.newTextPane();
        TimeIdleLayout(pane, "the book");
        // Typing in the middle of the book and at its end.
        QTextCursor middle = pane->textCursor();
        middle.setPosition(pane->document()->characterCount() / 2);
        pane->setTextCursor(middle);
        std::vector<double> keystrokes = TimeKeystrokes(window, 30);
        pane->moveCursor(QTextCursor::End);
        const std::vector<double> atEnd = TimeKeystrokes(window, 30);
        keystrokes.insert(keystrokes.end(), atEnd.begin(), atEnd.end());
        Report("Keystroke, tick and repaint in an 8 MB book, median", Median(keystrokes), "ms", 16);
        Report("Keystroke, tick and repaint in an 8 MB book, slowest", Slowest(keystrokes), "ms",
               16);
        SetPanes(window, source, newText);
        // The program's memory alone: the texts made here and the book on the clipboard go.
        std::u16string().swap(source);
        std::u16string().swap(newText);
        QApplication::clipboard()->clear();
        RestartPeak();
        Report("Click on Command4 to the painted result window and marks, 8 MB a pane",
               TimeCompare(window, 3), "ms", 250);
        Report("  peak memory of the compare, the filled panes included", PeakMegabytes(), "MB",
               200);
        std::printf(
            "  %s, %s\n",
            qPrintable(window.resultWindow()->findChild<QLabel*>(QStringLiteral("Label2"))->text()),
            qPrintable(window.resultWindow()->windowTitle()));
        TimeMarks(window);
    }

    if (wanted("kinds")) {
        TimeEveryKind(window, 1);
        TimeEveryKind(window, 8);
    }
    if (wanted("repeats")) {
        // The same three words repeated 100,000 times in both panes.
        QString repeats;
        for (int i = 0; i < 100'000; ++i)
            repeats += QStringLiteral("да нет да ");
        window.sourcePane()->replacePlainText(repeats);
        window.newTextPane()->replacePlainText(repeats);
        Settle(window);
        Report("Click on Command4, 100,000 repeats in both panes", TimeCompare(window, 1), "ms",
               1000);
    }
    if (wanted("paragraphs"))
        TimeParagraphs(application, window);
    // Asked for alone: its peak would stand for the whole run's.
    if (only.contains(QLatin1String("fifty")))
        TimeFiftyMegabytes(window);
    if (wanted("longwords"))
        TimeLongWords(window);
    if (wanted("repeatedwords"))
        TimeRepeatedWords(window);
    Report("Peak memory of the whole run", WholeRunPeakMegabytes(), "MB", 300);
    return 0;
}

// How paste and keystroke grow with the text: linear work keeps the time per MB level.
int Growth(ui::MainWindow& window, const std::vector<double>& sizes)
{
    bench::ArticleGenerator generator(3);
    for (const bool paragraph : {true, false}) {
        for (const double megabytes : sizes) {
            const auto units = static_cast<std::size_t>(megabytes * MegabyteOfUtf16);
            const std::u16string text = paragraph ? generator.paragraph(units)
                                                  : generator.drawnFrom(LettersAndDigits, units);
            const double paste = TimePaste(window, text, PeakOfPaste::FromTheEmptyPane);
            const double keystroke = Slowest(TimeKeystrokes(window, 3));
            std::printf("%-24s %6.3g MB: paste %9.1f ms (%7.1f ms/MB), keystroke %8.1f ms "
                        "(%6.1f ms/MB), peak %7.1f MB\n",
                        paragraph ? "one paragraph" : "letters and digits", megabytes, paste,
                        paste / megabytes, keystroke, keystroke / megabytes, PeakMegabytes());
            std::fflush(stdout);
        }
    }
    window.newTextPane()->replacePlainText(QString());
    ReportFigure("Peak memory of the whole run", WholeRunPeakMegabytes(), "MB");
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Timed as the program ships: the same dispatcher, translations and identity.
    const auto application = app::CreateApplication(argc, argv);
    ui::MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1 && arguments[1] == QStringLiteral("--growth")) {
        std::vector<double> sizes;
        for (qsizetype i = 2; i < arguments.size(); ++i)
            sizes.push_back(arguments[i].toDouble());
        if (sizes.empty())
            sizes = {1, 2, 4, 8};
        return Growth(window, sizes);
    }
    return Goals(*application, window, arguments.mid(1));
}
