// The repeats of a compare shown where they are: marked in the new-text and source panes, followed
// while the writer rewords, reached with F3 and from the listing, and read by assistive technology.
#include "support/marks_in_view.h"
#include "support/pixels.h"
#include "support/reference.h"
#include "support/scrolling.h"
#include "support/window_test.h"
#include "ui/kit/colour_value.h"
#include "ui/kit/strings.h"
#include "ui/main/main_window.h"
#include "ui/repeats/mark_strip.h"
#include "ui/repeats/mark_style.h"
#include "ui/repeats/repeat_follower.h"
#include "ui/text/text_pane.h"
#include "ui/windows/listing_pane.h"
#include "ui/windows/options_window.h"
#include "ui/windows/result_window.h"

#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>

#include <memory>

using uitest::Find;

namespace {

using Ranges = QList<std::pair<int, int>>;

// The marks of a style a pane shows, as [start, end) of its document: by default those of the
// exact repeats of the source.
Ranges MarksOf(const ui::TextPane* pane, ui::MarkSource source = ui::MarkSource::First,
               analysis::RepeatKind kind = analysis::RepeatKind::Exact)
{
    QCoreApplication::processEvents();
    return uitest::MarksOfStyle(*pane, source, kind);
}

// The runs of a pane that assistive technology reads with a mark's attributes.
Ranges ReadAsMarked(ui::TextPane* pane, ui::MarkSource source)
{
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(pane)->textInterface();
    const QString mark = ui::MarkAttributes(source, analysis::RepeatKind::Exact);
    Ranges runs;
    for (int offset = 0; offset < text->characterCount();) {
        int start = 0;
        int end = 0;
        const bool marked = text->attributes(offset, &start, &end).contains(mark);
        if (start > offset || end <= offset)
            return {{-1, offset}}; // a run that does not hold its offset
        if (marked && !runs.isEmpty() && runs.last().second == start)
            runs.last().second = end;
        else if (marked)
            runs.append({start, end});
        offset = end;
    }
    return runs;
}

Ranges Expected(const QString& plain, const std::vector<analysis::TextRange>& runs)
{
    return uitest::InDocument(plain, runs);
}

QString Selected(const ui::TextPane* pane)
{
    return pane->textCursor().selectedText().replace(QChar::ParagraphSeparator,
                                                     QStringLiteral("\r\n"));
}

const QString CopiedSource = QStringLiteral(
    "Спутниковые системы навигации давно перестали быть чем-то необычным. Ещё двадцать лет назад "
    "приёмник GPS стоил как хороший автомобиль, а сегодня он есть в каждом телефоне.\r\n\r\n"
    "Для уверенного решения нужны сигналы хотя бы от четырёх спутников одновременно.");
const QString PartlyCopied = QStringLiteral(
    "Навигация по спутникам есть почти везде. Ещё двадцать лет назад приёмник GPS стоил дорого."
    "\r\n\r\nДля уверенного решения нужны сигналы хотя бы от трёх спутников.");

// Beside words copied from the source, the same words in other forms, and words copied from the
// second source, exactly and in other forms.
const QString SecondSource = QStringLiteral(
    "Глонасс и Галилео дополняют американскую систему спутников. Приёмники нового поколения "
    "принимают сигналы всех систем сразу.");
const QString EveryKind = QStringLiteral(
    "Ещё двадцать лет назад приёмник GPS стоил дорого. Для уверенных решений нужны сигналы хотя "
    "бы от четырёх спутников.\r\n\r\nГлонасс и Галилео дополняют американскую систему. "
    "Приёмник нового поколения принимает сигнал всех систем.");

// The source's words in other endings: no shingle the same, many alike.
const QString OtherEndings = QStringLiteral(
    "Спутниковая система навигаций давно перестала быть чем-то необычной. Ещё двадцатью летами "
    "назад приёмники GPS стоили как хорошие автомобили.");

const uitest::LongTexts Long;

} // namespace

class tst_RepeatMarks : public uitest::WindowTest
{
    Q_OBJECT

private:
    ui::RepeatFollower* follower() const
    {
        return mainWindow()->findChild<ui::RepeatFollower*>("RepeatsOfSource");
    }
    ui::RepeatFollower* second() const
    {
        return mainWindow()->findChild<ui::RepeatFollower*>("RepeatsOfSecondSource");
    }
    // Every mark in, the second source's compare and the near repeats, which come after the
    // exact marks.
    void allMarksKnown() const
    {
        // The second source's compare starts once the result has painted, on a timer.
        const auto* timer = mainWindow()->findChild<QTimer*>("SecondSourceTimer");
        QTRY_VERIFY(!timer->isActive() && !second()->isComparing());
        follower()->finishNearRepeats();
        second()->finishNearRepeats();
        QCoreApplication::processEvents();
    }
    ui::ListingPane* listing() const
    {
        return Find<ui::ListingPane>(mainWindow()->resultWindow(), "RichTextBox1");
    }
    void compare(const QString& newTextPlain, const QString& sourcePlain)
    {
        newTextPane()->replacePlainText(newTextPlain);
        sourcePane()->replacePlainText(sourcePlain);
        click("Command4");
        QVERIFY(mainWindow()->resultWindow());
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()->resultWindow()));
    }

    // The result window closed, and the cursor at the start of the focused new-text pane.
    void backToTheNewTextPane() const
    {
        uitest::Click(mainWindow()->resultWindow(), "Command1");
        uitest::DiscardClosedWindows();
        mainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
        newTextPane()->setFocus();
        newTextPane()->moveCursor(QTextCursor::Start);
    }

private slots:
    // Key presses go to the focused pane only once the window is active.
    void init()
    {
        WindowTest::init();
        mainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
    }

    void marksAreWhereTheSharedShinglesLie_data();
    void marksAreWhereTheSharedShinglesLie();
    void marksAreNoEdits();
    void marksFollowTheWriter();
    void marksFollowEveryRoad_data();
    void marksFollowEveryRoad();
    void clearingIsUndoneInEachPane();
    void keysWalkTheMarks_data();
    void keysWalkTheMarks();
    void listingLeadsToThePair();
    void listingKeysChooseTheEntry_data();
    void listingKeysChooseTheEntry();
    void rewordedEntriesShowAsDone();
    void listingFollowsTheTextBothWays_data();
    void listingFollowsTheTextBothWays();
    void copyTakesTheCurrentEntry();
    void currentEntryIsReadable_data();
    void currentEntryIsReadable();
    void assistiveTechnologyReadsTheListingAndTheSelection();
    void everyKindIsMarked();
    void nearRepeatsOfALongPasteFollowIt();
    void secondSourceFollowsTheWriter();
    void resultWindowCountsTheNearRepeats_data();
    void resultWindowCountsTheNearRepeats();
    void stripLeadsToTheMarks();
    void marksAreReadableOnEveryBackground_data();
    void marksAreReadableOnEveryBackground();
};

void tst_RepeatMarks::marksAreWhereTheSharedShinglesLie_data()
{
    QTest::addColumn<QString>("newTextPlain");
    QTest::addColumn<QString>("sourcePlain");
    QTest::newRow("the panes as they start") << QString() << QString();
    QTest::newRow("paragraphs and punctuation") << PartlyCopied << CopiedSource;
    // One shared shingle among 200 rounds to 0 % and is marked all the same.
    QString many;
    for (int i = 0; i < 201; ++i)
        many += QStringLiteral("слово%1 ").arg(i);
    QTest::newRow("one among many") << many << QStringLiteral("слово7 слово8 слово9 один два три ");
    QTest::newRow("a line break inside a word")
        << QStringLiteral("a b c\r\nd e f g h") << QStringLiteral("x a b c\r\nd e f y z");
}

// After a compare, each of the two panes marks every character within a shingle that the other
// shares; the auxiliary pane takes no part.
void tst_RepeatMarks::marksAreWhereTheSharedShinglesLie()
{
    QFETCH(QString, newTextPlain);
    QFETCH(QString, sourcePlain);
    QCOMPARE(MarksOf(newTextPane()), Ranges());
    if (newTextPlain.isEmpty()) {
        uitest::Click(mainWindow(), "Command4");
        newTextPlain = newTextPane()->plainText();
        sourcePlain = sourcePane()->plainText();
    } else {
        compare(newTextPlain, sourcePlain);
    }
    const reference::Repeats expected =
        reference::LocateRepeats(ui::ToU16View(newTextPlain), ui::ToU16View(sourcePlain));
    QVERIFY(!expected.newTextMarks.empty());
    QCOMPARE(MarksOf(newTextPane()), Expected(newTextPlain, expected.newTextMarks));
    QCOMPARE(MarksOf(sourcePane()), Expected(sourcePlain, expected.sourceMarks));
    QCOMPARE(MarksOf(mainWindow()->auxiliaryPane()), Ranges());
}

// Marks change no character, no undo step, no figure, no caption and no change notification, and
// copying out of a marked pane copies plain text alone.
void tst_RepeatMarks::marksAreNoEdits()
{
    QSignalSpy changes(newTextPane(), &ui::TextPane::charactersChanged);
    const QString text = newTextPane()->plainText();
    const quint64 revision = newTextPane()->textRevision();
    const QString caption = mainWindow()->caption();
    uitest::Tick(mainWindow(), "Timer3");
    const QString figures = Find<QLabel>(mainWindow(), "Label5")->text() + QLatin1Char('/') +
                            Find<QLabel>(mainWindow(), "Label8")->text();
    uitest::Click(mainWindow(), "Command4");
    QVERIFY(!MarksOf(newTextPane()).isEmpty());
    uitest::Tick(mainWindow(), "Timer3");
    QCOMPARE(newTextPane()->plainText(), text);
    QCOMPARE(newTextPane()->textRevision(), revision);
    QVERIFY(!newTextPane()->document()->isUndoAvailable());
    QCOMPARE(mainWindow()->caption(), caption);
    QCOMPARE(Find<QLabel>(mainWindow(), "Label5")->text() + QLatin1Char('/') +
                 Find<QLabel>(mainWindow(), "Label8")->text(),
             figures);
    QCOMPARE(changes.count(), 0);

    newTextPane()->setFocus();
    QTest::keyClick(newTextPane(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(newTextPane(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->mimeData()->formats(), QStringList{"text/plain"});
}

// Text typed before a mark moves it at once; 150 ms after the last keystroke a reworded
// combination has lost its mark and a new repeat has gained one, in both panes.
void tst_RepeatMarks::marksFollowTheWriter()
{
    compare(PartlyCopied, CopiedSource);
    const Ranges before = MarksOf(newTextPane());
    newTextPane()->setFocus();
    newTextPane()->moveCursor(QTextCursor::Start);
    uitest::TypeText(newTextPane(), QStringLiteral("Да. "));
    Ranges moved = before;
    for (auto& [start, end] : moved) {
        start += 4;
        end += 4;
    }
    QCOMPARE(MarksOf(newTextPane()), moved);

    // Reword "двадцать лет назад", and copy a new combination from the source.
    QTextCursor cursor(newTextPane()->document());
    const int twenty =
        int(newTextPane()->document()->toRawText().indexOf(QStringLiteral("двадцать")));
    cursor.setPosition(twenty);
    cursor.setPosition(twenty + 18, QTextCursor::KeepAnchor);
    newTextPane()->setTextCursor(cursor);
    uitest::TypeText(newTextPane(), QStringLiteral("много лет тому"));
    newTextPane()->moveCursor(QTextCursor::End);
    uitest::TypeText(newTextPane(), QStringLiteral(" перестали быть чем-то необычным."));
    QCOMPARE(MarksOf(newTextPane()).size(), moved.size()); // not yet
    QTRY_COMPARE_WITH_TIMEOUT(
        MarksOf(newTextPane()),
        Expected(newTextPane()->plainText(),
                 reference::LocateRepeats(ui::ToU16View(newTextPane()->plainText()),
                                          ui::ToU16View(sourcePane()->plainText()), true)
                     .newTextMarks),
        1000);
    QCOMPARE(MarksOf(sourcePane()),
             Expected(sourcePane()->plainText(),
                      reference::LocateRepeats(ui::ToU16View(newTextPane()->plainText()),
                                               ui::ToU16View(sourcePane()->plainText()), true)
                          .sourceMarks));
}

void tst_RepeatMarks::marksFollowEveryRoad_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<bool>("inSource");
    QTest::addColumn<bool>("fromTheEnd");
    const auto row = [](const char* road, bool fromTheEnd, bool sourceToo = true) {
        QTest::addRow("%s, new text", road) << QString::fromLatin1(road) << false << fromTheEnd;
        if (sourceToo)
            QTest::addRow("%s, source", road) << QString::fromLatin1(road) << true << fromTheEnd;
    };
    row("Ctrl+End", false);
    row("Ctrl+Home", true);
    row("PageDown", false);
    row("PageUp", true);
    row("Down past the bottom", false);
    row("Up past the top", true);
    row("scroll bar trough", false);
    row("scroll bar arrow", false);
    row("scroll bar thumb", false);
    row("wheel", false);
    row("F3", false);
    row("Shift+F3", false);
    row("font size", true);
    row("idle layout", false);
    row("auxiliary pane switched off", false, false);
    row("listing click", false, false);
    row("listing Down", false, false);
    row("listing Enter", false, false);
}

// However the view of a pane moves, it then shows the marks of what is in view, drawn.
void tst_RepeatMarks::marksFollowEveryRoad()
{
    QFETCH(QString, road);
    QFETCH(bool, inSource);
    QFETCH(bool, fromTheEnd);
    compare(Long.newText, Long.source);
    ui::TextPane* pane = inSource ? sourcePane() : newTextPane();
    // Where the road starts: the view and the cursor at the start, or at the end, put there by
    // the scroll bar, the one road that was never missed.
    mainWindow()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
    pane->setFocus();
    pane->moveCursor(fromTheEnd ? QTextCursor::End : QTextCursor::Start);
    QScrollBar* bar = pane->verticalScrollBar();
    bar->setValue(fromTheEnd ? bar->minimum() : bar->maximum());
    bar->setValue(fromTheEnd ? bar->maximum() : bar->minimum());
    QVERIFY2(uitest::MarksInViewAgainstTheRules(*mainWindow()).isEmpty(),
             qPrintable(uitest::MarksInViewAgainstTheRules(*mainWindow())));
    const auto before = uitest::CharactersInView(*pane);

    const auto press = [pane](Qt::Key key, int times = 1,
                              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(pane, key, modifiers);
    };
    const auto clickBar = [bar](QStyle::SubControl part, int times) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(bar, Qt::LeftButton, {}, uitest::SliderPart(bar, part).center());
    };
    ui::ListingPane* entries = listing();
    const int lastEntry = entries->entryCount() - 1;
    if (road == QLatin1String("Ctrl+End")) {
        press(Qt::Key_End, 1, Qt::ControlModifier);
    } else if (road == QLatin1String("Ctrl+Home")) {
        press(Qt::Key_Home, 1, Qt::ControlModifier);
    } else if (road == QLatin1String("PageDown")) {
        uitest::StepUntilStill(pane, [&] { press(Qt::Key_PageDown); });
    } else if (road == QLatin1String("PageUp")) {
        uitest::StepUntilStill(pane, [&] { press(Qt::Key_PageUp); });
    } else if (road == QLatin1String("Down past the bottom")) {
        press(Qt::Key_Down, 25);
    } else if (road == QLatin1String("Up past the top")) {
        press(Qt::Key_Up, 25);
    } else if (road == QLatin1String("scroll bar trough")) {
        clickBar(QStyle::SC_ScrollBarAddPage, 2);
    } else if (road == QLatin1String("scroll bar arrow")) {
        clickBar(QStyle::SC_ScrollBarAddLine, 20);
    } else if (road == QLatin1String("scroll bar thumb")) {
        const QPoint grip = uitest::SliderPart(bar, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, grip + QPoint(0, 20));
        QTest::mouseMove(bar, QPoint(grip.x(), bar->height()));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(grip.x(), bar->height()));
    } else if (road == QLatin1String("wheel")) {
        uitest::StepUntilStill(pane, [pane] { uitest::WheelNotch(pane); });
    } else if (road == QLatin1String("F3")) {
        press(Qt::Key_F3, 2);
    } else if (road == QLatin1String("Shift+F3")) {
        press(Qt::Key_F3, 1, Qt::ShiftModifier);
    } else if (road == QLatin1String("font size")) {
        ui::OptionsWindow* options = openOptions();
        // Moved by the keyboard, applied by a click on its thumb.
        auto* slider = uitest::Find<QSlider>(options, inSource ? "Slider1" : "Slider2");
        QTest::keyClick(slider, Qt::Key_Home);
        QTest::mouseClick(slider, Qt::LeftButton, {},
                          uitest::SliderPart(slider, QStyle::SC_SliderHandle).center());
        QCOMPARE(pane->fontSize(), qreal(slider->minimum()));
        options->close();
    } else if (road == QLatin1String("idle layout")) {
        // Every paragraph laid out anew; the end is reached before the idle layout got there.
        pane->setFontSize(12);
        QVERIFY(!pane->isLaidOut());
        press(Qt::Key_End, 1, Qt::ControlModifier);
        QTRY_VERIFY(pane->isLaidOut());
    } else if (road == QLatin1String("auxiliary pane switched off")) {
        showAuxiliaryPane(false);
        pane = sourcePane();
    } else if (road == QLatin1String("listing click")) {
        entries->setFocus();
        QTest::keyClick(entries, Qt::Key_End, Qt::ControlModifier);
        QTest::mouseClick(entries->viewport(), Qt::LeftButton, {},
                          entries->lineRect(entries->entryLine(lastEntry)).center());
        QCOMPARE(entries->currentEntry(), lastEntry);
    } else if (road == QLatin1String("listing Down") || road == QLatin1String("listing Enter")) {
        entries->setFocus();
        QTest::keyClick(entries, Qt::Key_Down);
        for (int i = 0; i < lastEntry; ++i)
            QTest::keyClick(entries, Qt::Key_Down);
        QCOMPARE(entries->currentEntry(), lastEntry);
        if (road == QLatin1String("listing Enter"))
            QTest::keyClick(entries, Qt::Key_Return);
    } else {
        QFAIL("no such road");
    }
    QVERIFY2(uitest::CharactersInView(*pane) != before, "the road did not move the view");
    const QString wrong = uitest::MarksInViewAgainstTheRules(*mainWindow());
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

// "Очистить все" is undone in each pane on its own; the marks follow the clearing and its undo as
// any edit, and the listing with them.
void tst_RepeatMarks::clearingIsUndoneInEachPane()
{
    compare(PartlyCopied, CopiedSource);
    const QString auxiliary = auxiliaryPane()->plainText();
    uitest::Click(mainWindow(), "Command2");
    follower()->settle();
    QCOMPARE(MarksOf(newTextPane()), Ranges());
    QCOMPARE(MarksOf(sourcePane()), Ranges());
    QCOMPARE(mainWindow()->caption(), QStringLiteral("Palimo Suite..."));

    sourcePane()->setFocus();
    QTest::keyClick(sourcePane(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(sourcePane()->plainText(), CopiedSource);
    QCOMPARE(mainWindow()->caption(), QStringLiteral("Palimo Suite..."));
    newTextPane()->setFocus();
    QTest::keyClick(newTextPane(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(newTextPane()->plainText(), PartlyCopied);
    QCOMPARE(mainWindow()->caption(), PartlyCopied.left(60));
    // Redone with Ctrl+Y, as with Ctrl+Shift+Z, and undone again.
    QTest::keyClick(newTextPane(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(newTextPane()->plainText(), QString());
    QTest::keyClick(newTextPane(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(newTextPane()->plainText(), PartlyCopied);
    auxiliaryPane()->setFocus();
    QTest::keyClick(auxiliaryPane(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(auxiliaryPane()->plainText(), auxiliary);
    tick("Timer3");
    QCOMPARE(
        label("Label5")->text(),
        QString::number(
            analysis::ComputeTextStatistics(ui::ToU16View(PartlyCopied)).CharactersWithoutSpaces));

    follower()->settle();
    const reference::Repeats expected =
        reference::LocateRepeats(ui::ToU16View(PartlyCopied), ui::ToU16View(CopiedSource));
    QCOMPARE(MarksOf(newTextPane()), Expected(PartlyCopied, expected.newTextMarks));
    QCOMPARE(MarksOf(sourcePane()), Expected(CopiedSource, expected.sourceMarks));
    const QString wrong = uitest::ListingAgainstTheRules(
        uitest::ListedEntries(*listing(), *follower(), *mainWindow()), PartlyCopied, CopiedSource);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    for (int entry = 0; entry < listing()->entryCount(); ++entry)
        QVERIFY(!listing()->isEntryDone(entry));
}

void tst_RepeatMarks::keysWalkTheMarks_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<int>("key");
    for (const auto& [name, pane] :
         {std::pair{"new text", 0}, std::pair{"source", 1}, std::pair{"second source", 2}}) {
        QTest::addRow("F3, %s", name) << pane << int(Qt::Key_F3);
        QTest::addRow("F4, %s", name) << pane << int(Qt::Key_F4);
    }
}

// F3 selects the next exact repeat after the cursor and Shift+F3 the one before it, of either
// source, wrapping at the ends; F4 and Shift+F4 walk the near repeats so; the pane's context menu
// offers all four.
void tst_RepeatMarks::keysWalkTheMarks()
{
    QFETCH(int, pane);
    QFETCH(int, key);
    showAuxiliaryPane(true);
    auxiliaryPane()->replacePlainText(SecondSource);
    compare(EveryKind, CopiedSource);
    allMarksKnown();
    ui::TextPane* walked = panes()[pane];
    const analysis::RepeatKind kind =
        key == Qt::Key_F3 ? analysis::RepeatKind::Exact : analysis::RepeatKind::Near;
    // The runs of the kind the rules give the pane, of each source it is compared with.
    Ranges marks;
    for (const QString& other : {CopiedSource, SecondSource}) {
        if ((pane == 1 && other == SecondSource) || (pane == 2 && other == CopiedSource))
            continue;
        const bool ofNewText = pane == 0;
        marks += kind == analysis::RepeatKind::Exact
                     ? uitest::MarksByTheRules(EveryKind, other, ofNewText)
                     : uitest::NearMarksByTheRules(EveryKind, other, ofNewText);
    }
    std::ranges::sort(marks);
    QVERIFY(marks.size() >= (pane == 0 ? 2 : 1));
    backToTheNewTextPane();
    walked->setFocus();
    walked->moveCursor(QTextCursor::Start);
    const auto selection = [walked] {
        const QTextCursor cursor = walked->textCursor();
        return std::pair{cursor.selectionStart(), cursor.selectionEnd()};
    };
    // A screen reader hears where each step lands, as the pane's description.
    const QString repeat = kind == analysis::RepeatKind::Exact
                               ? QStringLiteral("повторение")
                               : QStringLiteral("похожее сочетание");
    const auto said = [&](qsizetype index, const char* wrap) {
        return QStringLiteral("%1 %2 из %3%4")
            .arg(repeat)
            .arg(index + 1)
            .arg(marks.size())
            .arg(QString::fromUtf8(wrap));
    };
    const auto heard = [walked] {
        return QAccessible::queryAccessibleInterface(walked)->text(QAccessible::Description);
    };
    QList<std::pair<qsizetype, QString>> order;
    QList<std::pair<qsizetype, QString>> expected;
    for (qsizetype i = 0; i <= marks.size(); ++i) {
        QTest::keyClick(walked, static_cast<Qt::Key>(key));
        order << std::pair(marks.indexOf(selection()), heard());
        const qsizetype index = i % marks.size();
        expected << std::pair(index,
                              said(index, i == marks.size() ? ", снова с начала текста" : ""));
    }
    // Back from the first: round past the start to the last, then the one before it.
    for (const qsizetype back : {marks.size() - 1, marks.size() - 2}) {
        QTest::keyClick(walked, static_cast<Qt::Key>(key), Qt::ShiftModifier);
        order << std::pair(marks.indexOf(selection()), heard());
        const qsizetype index = (back + marks.size()) % marks.size();
        expected << std::pair(
            index,
            said(index, back < 0 || back == marks.size() - 1 ? ", снова с конца текста" : ""));
    }
    QCOMPARE(order, expected);
    // Said only while the cursor stays on the repeat.
    QTest::keyClick(walked, Qt::Key_Right);
    QCOMPARE(heard(), QString());
    walked->selectAll();
    QTest::keyClick(walked, Qt::Key_Delete);
    follower()->settle();
    second()->settle();
    allMarksKnown();
    QTest::keyClick(walked, static_cast<Qt::Key>(key));
    QCOMPARE(heard(), kind == analysis::RepeatKind::Exact
                          ? QStringLiteral("повторений нет")
                          : QStringLiteral("похожих сочетаний нет"));

    QStringList commands;
    for (const QAction* action : walked->actions())
        commands << action->text() + QLatin1Char('\t') + action->shortcut().toString();
    QCOMPARE(commands, (QStringList{"Следующее повторение\tF3", "Предыдущее повторение\tShift+F3",
                                    "Следующее похожее сочетание\tF4",
                                    "Предыдущее похожее сочетание\tShift+F4"}));
}

// A click on an entry, or Up and Down, select its pair in both panes and leave the keyboard in
// the listing; Enter brings the new-text pane forward with the combination selected.
void tst_RepeatMarks::listingLeadsToThePair()
{
    compare(PartlyCopied, CopiedSource);
    ui::ListingPane* entries = listing();
    entries->setFocus();
    QWidget* const writing = mainWindow()->focusWidget();
    QVERIFY(entries->entryCount() > 3);
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {},
                      entries->lineRect(entries->entryLine(2)).center());
    const QStringList lines = entries->plainText().split(QStringLiteral("\r\n"));
    QCOMPARE(entries->currentEntry(), 2);
    QCOMPARE(Selected(newTextPane()), lines[2]);
    QCOMPARE(Selected(sourcePane()), lines[2]);
    QTest::keyClick(entries, Qt::Key_Down);
    QCOMPARE(Selected(newTextPane()), lines[3]);
    QCOMPARE(Selected(sourcePane()), lines[3]);
    QCOMPARE(mainWindow()->resultWindow()->focusWidget(), entries);
    QCOMPARE(mainWindow()->focusWidget(), writing);

    QTest::keyClick(entries, Qt::Key_Return);
    QCOMPARE(mainWindow()->focusWidget(), newTextPane());
    QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
    QCOMPARE(Selected(newTextPane()), lines[3]);
}

void tst_RepeatMarks::listingKeysChooseTheEntry_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("entry"); // "first", "last", "page", or "1" for the one clicked
    QTest::newRow("Home") << "Home"
                          << "first";
    QTest::newRow("Ctrl+Home") << "Ctrl+Home"
                               << "first";
    QTest::newRow("End") << "End"
                         << "last";
    QTest::newRow("Ctrl+End") << "Ctrl+End"
                              << "last";
    QTest::newRow("PageDown") << "PageDown"
                              << "page";
    QTest::newRow("PageDown, PageUp") << "PageDown PageUp"
                                      << "1";
    QTest::newRow("the current entry clicked again") << "click"
                                                     << "1";
}

// The keys of a list move the current entry, and each choice, a click on the current entry
// again included, selects its pair in both panes.
void tst_RepeatMarks::listingKeysChooseTheEntry()
{
    QFETCH(QString, keys);
    QFETCH(QString, entry);
    compare(Long.newText, Long.source);
    ui::ListingPane* entries = listing();
    const QRect second = entries->lineRect(entries->entryLine(1));
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(entries->currentEntry(), 1);
    for (ui::TextPane* pane : {newTextPane(), sourcePane()})
        pane->moveCursor(QTextCursor::Start);
    for (const QString& key : keys.split(QLatin1Char(' '))) {
        if (key == QLatin1String("click"))
            QTest::mouseClick(entries->viewport(), Qt::LeftButton, {}, second.center());
        else
            QTest::keyClick(entries,
                            key.endsWith(QLatin1String("Home"))  ? Qt::Key_Home
                            : key.endsWith(QLatin1String("End")) ? Qt::Key_End
                            : key == QLatin1String("PageUp")     ? Qt::Key_PageUp
                                                                 : Qt::Key_PageDown,
                            key.startsWith(QLatin1String("Ctrl")) ? Qt::ControlModifier
                                                                  : Qt::NoModifier);
    }
    const int page = entries->verticalScrollBar()->pageStep() - 1;
    const int expected = entry == QLatin1String("first")  ? 0
                         : entry == QLatin1String("last") ? entries->entryCount() - 1
                         : entry == QLatin1String("page") ? 1 + page
                                                          : 1;
    QCOMPARE(entries->currentEntry(), expected);
    const QString text = entries->entryText(expected);
    QCOMPARE(ui::ToQString(reference::PrepareText(ui::ToU16View(Selected(newTextPane())))), text);
    QCOMPARE(ui::ToQString(reference::PrepareText(ui::ToU16View(Selected(sourcePane())))), text);
}

// An entry whose combination was reworded is drawn greyed and struck out; its text stays.
void tst_RepeatMarks::rewordedEntriesShowAsDone()
{
    compare(PartlyCopied, CopiedSource);
    ui::ListingPane* entries = listing();
    const QString listed = entries->plainText();
    const auto darkest = [entries](int entry) {
        const QImage drawn = entries->viewport()->grab().toImage();
        const QRect line = entries->lineRect(entries->entryLine(entry)).adjusted(0, 2, 0, -2);
        double lowest = 1;
        for (int y = line.top(); y <= line.bottom(); ++y) {
            for (int x = 0; x < drawn.width() / 2; ++x)
                lowest = std::min(lowest, uitest::Luminance(drawn.pixelColor(x, y)));
        }
        return lowest;
    };
    QVERIFY(darkest(0) < 0.05);
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {},
                      entries->lineRect(entries->entryLine(0)).center());
    QTest::keyClick(entries, Qt::Key_Return);
    uitest::TypeText(newTextPane(), QStringLiteral("иначе"));
    follower()->settle();
    entries->clearFocus();
    entries->setCurrentEntry(entries->entryCount() - 1);
    QVERIFY(darkest(0) > 0.1);
    QCOMPARE(entries->plainText(), listed);
    // A reader hears it struck through, and done once it is the current entry.
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(entries);
    int start = 0;
    int end = 0;
    const int first = entries->lineStart(entries->entryLine(0));
    QCOMPARE(read->textInterface()->attributes(first, &start, &end),
             QStringLiteral("text-line-through-type:single;"));
    const int last = entries->entryCount() - 1;
    QVERIFY(!entries->isEntryDone(last));
    QCOMPARE(read->textInterface()->attributes(entries->lineStart(entries->entryLine(last)), &start,
                                               &end),
             QString());
    QCOMPARE(read->text(QAccessible::Description), QString());
    entries->setCurrentEntry(0);
    QCOMPARE(read->text(QAccessible::Description), QStringLiteral("исправлено"));
}

// The listing's text, its current entry as the cursor and its selection, and a pane's selection
// made by F3, all as assistive technology reads them.
void tst_RepeatMarks::listingFollowsTheTextBothWays_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("standing"); // entries not struck out at the end
    QTest::newRow("typed over") << QStringList{"select all and type"} << 0;
    QTest::newRow("typed over, undone") << QStringList{"select all and type", "undo"} << 4;
    QTest::newRow("typed over, undone, redone")
        << QStringList{"select all and type", "undo", "redo"} << 0;
    QTest::newRow("typed over, pasted back")
        << QStringList{"select all and type", "paste back"} << 4;
    QTest::newRow("first of two reworded") << QStringList{"reword the first"} << 2;
    QTest::newRow("first of two reworded, undone") << QStringList{"reword the first", "undo"} << 4;
    QTest::newRow("first of two retyped as it was")
        << QStringList{"reword the first", "retype the first"} << 4;
    QTest::newRow("cleared, undone") << QStringList{"clear all", "undo"} << 4;
}

// The entries struck out follow the text both ways: each combination keeps as many entries
// standing as a compare of the texts as they now stand would count of it, and each standing entry
// leads to a place where it repeats.
void tst_RepeatMarks::listingFollowsTheTextBothWays()
{
    QFETCH(QStringList, steps);
    QFETCH(int, standing);
    // "ещё двадцать лет" twice in the new text, once in the source.
    const QString newText = QStringLiteral("Было ещё двадцать лет назад иначе. Теперь ещё "
                                           "двадцать лет прошло, а приёмник стоил дорого сегодня.");
    const QString source = QStringLiteral("А ещё двадцать лет назад приёмник стоил дорого всегда.");
    compare(newText, source);
    QCOMPARE(listing()->entryCount(), 4);
    const int firstAt = int(newText.indexOf(QStringLiteral("ещё двадцать лет"))) + 4;
    for (const QString& step : steps) {
        newTextPane()->setFocus();
        if (step == QLatin1String("select all and type")) {
            QTest::keyClick(newTextPane(), Qt::Key_A, Qt::ControlModifier);
            uitest::TypeText(newTextPane(), QStringLiteral("Совсем другой текст здесь."));
        } else if (step == QLatin1String("undo")) {
            follower()->settle();
            QTest::keyClick(newTextPane(), Qt::Key_Z, Qt::ControlModifier);
        } else if (step == QLatin1String("redo")) {
            follower()->settle();
            QTest::keyClick(newTextPane(), Qt::Key_Y, Qt::ControlModifier);
        } else if (step == QLatin1String("paste back")) {
            QTest::keyClick(newTextPane(), Qt::Key_A, Qt::ControlModifier);
            uitest::Paste(newTextPane(), newText);
        } else if (step == QLatin1String("reword the first")) {
            QTextCursor cursor(newTextPane()->document());
            cursor.setPosition(firstAt);
            cursor.setPosition(firstAt + 8, QTextCursor::KeepAnchor);
            newTextPane()->setTextCursor(cursor);
            uitest::TypeText(newTextPane(), QStringLiteral("сорок"));
        } else if (step == QLatin1String("retype the first")) {
            follower()->settle();
            QTextCursor cursor(newTextPane()->document());
            cursor.setPosition(firstAt);
            cursor.setPosition(firstAt + 5, QTextCursor::KeepAnchor);
            newTextPane()->setTextCursor(cursor);
            uitest::TypeText(newTextPane(), QStringLiteral("двадцать"));
        } else if (step == QLatin1String("clear all")) {
            uitest::Click(mainWindow(), "Command2");
            follower()->settle();
            sourcePane()->setFocus();
            QTest::keyClick(sourcePane(), Qt::Key_Z, Qt::ControlModifier);
            newTextPane()->setFocus();
        }
    }
    follower()->settle();
    QCoreApplication::processEvents();
    const std::vector<reference::ListedEntry> entries =
        uitest::ListedEntries(*listing(), *follower(), *mainWindow());
    const QString wrong = uitest::ListingAgainstTheRules(entries, newTextPane()->plainText(),
                                                         sourcePane()->plainText());
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QCOMPARE(std::ranges::count(entries, false, &reference::ListedEntry::struckOut), standing);

    // A click on a standing entry selects its place in both panes.
    for (int entry = 0; entry < listing()->entryCount(); ++entry) {
        if (listing()->isEntryDone(entry))
            continue;
        listing()->setFocus();
        QTest::keyClick(listing(), Qt::Key_Home, Qt::ControlModifier);
        QTest::mouseClick(listing()->viewport(), Qt::LeftButton, {},
                          listing()->lineRect(listing()->entryLine(entry)).center());
        const QString text = QString::fromStdU16String(entries[std::size_t(entry)].text);
        QCOMPARE(ui::ToQString(reference::PrepareText(ui::ToU16View(Selected(newTextPane())))),
                 text);
        QCOMPARE(ui::ToQString(reference::PrepareText(ui::ToU16View(Selected(sourcePane())))),
                 text);
    }
}

// Ctrl+C in the listing copies the selected text, or else the current entry.
void tst_RepeatMarks::copyTakesTheCurrentEntry()
{
    compare(PartlyCopied, CopiedSource);
    ui::ListingPane* entries = listing();
    entries->setFocus();
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {},
                      entries->lineRect(entries->entryLine(1)).center());
    QApplication::clipboard()->clear();
    QTest::keyClick(entries, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             entries->plainText().split(QStringLiteral("\r\n")).at(1));
    QTest::keyClick(entries, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(entries, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), entries->text());
}

void tst_RepeatMarks::currentEntryIsReadable_data()
{
    QTest::addColumn<bool>("done");
    QTest::addColumn<bool>("focused");
    QTest::newRow("standing, listing focused") << false << true;
    QTest::newRow("standing, focus elsewhere") << false << false;
    QTest::newRow("struck out, listing focused") << true << true;
    QTest::newRow("struck out, focus elsewhere") << true << false;
}

// The current entry, standing or struck out, reads at 4.5:1 on its highlight.
void tst_RepeatMarks::currentEntryIsReadable()
{
    QFETCH(bool, done);
    QFETCH(bool, focused);
    compare(PartlyCopied, CopiedSource);
    ui::ListingPane* entries = listing();
    if (done) {
        newTextPane()->setFocus();
        QTest::keyClick(newTextPane(), Qt::Key_A, Qt::ControlModifier);
        uitest::TypeText(newTextPane(), QStringLiteral("иначе"));
        follower()->settle();
        QVERIFY(entries->isEntryDone(0));
    }
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {},
                      entries->lineRect(entries->entryLine(0)).center());
    QCOMPARE(entries->currentEntry(), 0);
    if (!focused) {
        mainWindow()->activateWindow();
        newTextPane()->setFocus();
    }
    QTRY_COMPARE(entries->hasFocus(), focused);
    const QImage drawn = entries->viewport()->grab().toImage();
    const QRect line = entries->lineRect(entries->entryLine(0));
    const QColor highlight = drawn.pixelColor(line.left() + 1, line.top() + 1);
    QVERIFY2(uitest::HighestContrast(drawn, highlight, line.adjusted(0, 1, 0, -1)) >= 4.5,
             qPrintable(QString::number(uitest::HighestContrast(drawn, highlight, line))));
}

void tst_RepeatMarks::assistiveTechnologyReadsTheListingAndTheSelection()
{
    compare(PartlyCopied, CopiedSource);
    ui::ListingPane* entries = listing();
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(entries);
    QVERIFY(read && read->textInterface());
    QAccessibleTextInterface* text = read->textInterface();
    QCOMPARE(text->text(0, text->characterCount()), entries->text());
    entries->setCurrentEntry(1);
    int start = 0;
    int end = 0;
    QCOMPARE(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end),
             entries->text().section(QLatin1Char('\n'), 1, 1) + QLatin1Char('\n'));
    // One attribute run a line: a reader builds its lines from the runs.
    int runStart = 0;
    int runEnd = 0;
    text->attributes(start + 1, &runStart, &runEnd);
    QCOMPARE(std::pair(runStart, runEnd), std::pair(start, end));
    entries->selectAll();
    text->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(0, int(entries->text().size())));

    backToTheNewTextPane();
    QTest::keyClick(newTextPane(), Qt::Key_F3);
    QAccessibleTextInterface* pane =
        QAccessible::queryAccessibleInterface(newTextPane())->textInterface();
    pane->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), MarksOf(newTextPane()).first());
}

// Beside the exact repeats of the source, the new text's pane marks the same words in other
// forms and, while the auxiliary pane is shown, the repeats of the second source, exact and near,
// each in its style; the source and auxiliary panes mark their side of each. Hidden, the second
// source marks nothing; shown again, its marks are back.
void tst_RepeatMarks::everyKindIsMarked()
{
    using analysis::RepeatKind;
    using ui::MarkSource;
    showAuxiliaryPane(true);
    auxiliaryPane()->replacePlainText(SecondSource);
    compare(EveryKind, CopiedSource);
    allMarksKnown();
    const auto check = [this](bool secondShown) {
        // The exact marks of each pane's source, painted over the others, as a reader reads them.
        QCOMPARE(ReadAsMarked(newTextPane(), MarkSource::First),
                 uitest::MarksByTheRules(EveryKind, CopiedSource, true));
        QCOMPARE(ReadAsMarked(sourcePane(), MarkSource::First),
                 uitest::MarksByTheRules(EveryKind, CopiedSource, false));
        QCOMPARE(ReadAsMarked(auxiliaryPane(), MarkSource::Second),
                 secondShown ? uitest::MarksByTheRules(EveryKind, SecondSource, false) : Ranges());
        for (const RepeatKind kind : {RepeatKind::Exact, RepeatKind::Near}) {
            const auto rules = [kind](const QString& other, bool ofNewText) {
                return kind == RepeatKind::Exact
                           ? uitest::MarksByTheRules(EveryKind, other, ofNewText)
                           : uitest::NearMarksByTheRules(EveryKind, other, ofNewText);
            };
            QVERIFY(!rules(CopiedSource, true).isEmpty());
            QVERIFY(!rules(SecondSource, true).isEmpty());
            QCOMPARE(MarksOf(newTextPane(), MarkSource::First, kind), rules(CopiedSource, true));
            const auto [from, to] = sourcePane()->visibleRange();
            QCOMPARE(MarksOf(sourcePane(), MarkSource::First, kind),
                     uitest::Clipped(rules(CopiedSource, false), from, to));
            QCOMPARE(MarksOf(newTextPane(), MarkSource::Second, kind),
                     secondShown ? rules(SecondSource, true) : Ranges());
            if (secondShown)
                QCOMPARE(MarksOf(auxiliaryPane(), MarkSource::Second, kind),
                         rules(SecondSource, false));
        }
    };
    check(true);
    showAuxiliaryPane(false);
    check(false);
    showAuxiliaryPane(true);
    check(true);
}

// A paste of hundreds of shingles after the compare is settled at once, its near repeats folded
// while idle as after a compare: at its end, where the settle left them, they come too.
void tst_RepeatMarks::nearRepeatsOfALongPasteFollowIt()
{
    compare(EveryKind, CopiedSource);
    allMarksKnown();
    backToTheNewTextPane();
    newTextPane()->moveCursor(QTextCursor::End);
    newTextPane()->insertPlainText(QStringLiteral(" ") + EveryKind.repeated(20));
    newTextPane()->moveCursor(QTextCursor::End);
    follower()->settle();
    follower()->finishNearRepeats();
    QCoreApplication::processEvents();
    QVERIFY(!MarksOf(newTextPane(), ui::MarkSource::First, analysis::RepeatKind::Near).isEmpty());
    QCOMPARE(uitest::NearMarksInViewAgainstTheRules(*mainWindow()), QString());
}

// The second source is compared once it holds enough, after the compare too; it follows every
// edit of both panes, those made while its compare runs on the worker among them.
void tst_RepeatMarks::secondSourceFollowsTheWriter()
{
    showAuxiliaryPane(true);
    auxiliaryPane()->replacePlainText(QString());
    compare(EveryKind, CopiedSource);
    allMarksKnown();
    QVERIFY(!second()->isActive());
    backToTheNewTextPane();
    QApplication::clipboard()->setText(SecondSource);
    auxiliaryPane()->setFocus();
    QTest::keyClick(auxiliaryPane(), Qt::Key_V, Qt::ControlModifier);
    QTRY_VERIFY(second()->isActive());
    allMarksKnown();
    QCOMPARE(MarksOf(newTextPane(), ui::MarkSource::Second),
             uitest::MarksByTheRules(EveryKind, SecondSource, true));

    second()->compareInBackground();
    // Paragraph breaks typed, deleted within a selection, and brought back by undo, in each pane,
    // before the worker's compare is taken in.
    for (ui::TextPane* pane : {newTextPane(), auxiliaryPane()}) {
        pane->setFocus();
        QTextCursor cursor(pane->document());
        cursor.setPosition(12);
        cursor.setPosition(pane->document()->characterCount() - 30, QTextCursor::KeepAnchor);
        pane->setTextCursor(cursor);
        QTest::keyClick(pane, Qt::Key_Backspace);
        QTest::keyClicks(pane, QStringLiteral("ab"));
        QTest::keyClick(pane, Qt::Key_Return);
        QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
    }
    QVERIFY(second()->isComparing());
    QTRY_VERIFY(!second()->isComparing());
    QCOMPARE(QString::fromStdU16String(second()->trackedText(analysis::TextSide::NewText)),
             newTextPane()->plainText());
    QCOMPARE(QString::fromStdU16String(second()->trackedText(analysis::TextSide::Source)),
             auxiliaryPane()->plainText());
    second()->settle();
    QCOMPARE(
        MarksOf(newTextPane(), ui::MarkSource::Second),
        uitest::MarksByTheRules(newTextPane()->plainText(), auxiliaryPane()->plainText(), true));
}

void tst_RepeatMarks::resultWindowCountsTheNearRepeats_data()
{
    QTest::addColumn<QString>("newTextPlain");
    QTest::addColumn<QString>("sourcePlain");
    QTest::newRow("beside the listing") << EveryKind << CopiedSource;
    QTest::newRow("a unique text, rewritten in other endings") << OtherEndings << CopiedSource;
}

// Below what the design shows, a line of its own says how many shingles of the new text repeat
// the source in other forms of their words: "…" until they are counted. The window grows to show
// it, the design's second block still out of sight.
void tst_RepeatMarks::resultWindowCountsTheNearRepeats()
{
    QFETCH(QString, newTextPlain);
    QFETCH(QString, sourcePlain);
    compare(newTextPlain, sourcePlain);
    ui::ResultWindow* window = mainWindow()->resultWindow();
    const auto* line = Find<QLabel>(window, "NearRepeatsLine");
    const QString lead = QStringLiteral("Похожих сочетаний (другие формы слов): ");
    QVERIFY(line->text() == lead + QStringLiteral("считаются\u2026") ||
            follower()->areNearRepeatsKnown());
    allMarksKnown();
    const std::size_t count =
        reference::LocateNearRepeats(ui::ToU16View(newTextPlain), ui::ToU16View(sourcePlain))
            .newTextCount;
    QVERIFY(count > 0);
    QCOMPARE(line->text(), lead + QString::number(count));
    QVERIFY(line->isVisible());
    const QLabel* above = Find<QLabel>(window, "Label2");
    if (Find<ui::ListingPane>(window, "RichTextBox1")->isVisible())
        QCOMPARE(window->windowTitle(), QStringLiteral("Текст не уникален"));
    else
        QCOMPARE(window->windowTitle(), QStringLiteral("Текст уникален"));
    const QWidget* shownAbove = Find<ui::ListingPane>(window, "RichTextBox1")->isVisible()
                                    ? static_cast<const QWidget*>(listing())
                                    : above;
    QVERIFY(line->geometry().top() >= shownAbove->geometry().bottom());
    QVERIFY(line->geometry().bottom() < window->height());
    QVERIFY(window->height() <= Find<QFrame>(window, "Line1")->y());
}

// Each pane's scroll bar shows along its groove where the marks of the whole text lie, the
// marks at the start, in the middle and at the end of the text at the top, the middle and the
// bottom; a click there selects the whole mark, a click elsewhere pages as ever.
void tst_RepeatMarks::stripLeadsToTheMarks()
{
    compare(Long.newText, Long.source);
    backToTheNewTextPane();
    allMarksKnown();
    QTRY_VERIFY(newTextPane()->isLaidOut());
    auto* strip = Find<ui::MarkStrip>(newTextPane()->verticalScrollBar(), "MarkStrip");
    QTRY_VERIFY(strip->isWorkedOut());
    const std::vector<std::uint8_t>& rows = strip->rows();
    QCOMPARE(static_cast<int>(rows.size()), strip->height());
    QVERIFY(strip->height() > 100);
    // The exact repeats of the source, the layer painted last, where the rules put them.
    const std::uint8_t exact = 1u << 3;
    const QString plain = newTextPane()->plainText();
    const uitest::DocumentRanges rules = uitest::MarksByTheRules(plain, Long.source, true);
    for (int row = 0; row < strip->height(); ++row) {
        const auto [from, to] = strip->rowRange(row);
        const bool marked = !uitest::Clipped(rules, from, std::max(to, from + 1)).isEmpty();
        QCOMPARE((rows[static_cast<std::size_t>(row)] & exact) != 0, marked);
    }
    const auto firstMarked = std::ranges::find_if(rows, [](std::uint8_t bits) { return bits; });
    const auto lastMarked =
        std::ranges::find_if(rows.rbegin(), rows.rend(), [](std::uint8_t bits) { return bits; });
    QVERIFY(firstMarked - rows.begin() < strip->height() / 10);
    QVERIFY(lastMarked - rows.rbegin() < strip->height() / 10);
    QVERIFY(std::any_of(rows.begin() + strip->height() * 4 / 10,
                        rows.begin() + strip->height() * 6 / 10, [](std::uint8_t b) { return b; }));

    QScrollBar* bar = newTextPane()->verticalScrollBar();
    const int value = bar->value();
    const int lastRow = static_cast<int>(rows.rend() - lastMarked) - 1;
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, strip->y() + lastRow));
    QVERIFY(!Selected(newTextPane()).isEmpty());
    const QTextCursor cursor = newTextPane()->textCursor();
    QVERIFY(std::ranges::any_of(rules, [&cursor](const std::pair<int, int>& mark) {
        return mark.first == cursor.selectionStart() && cursor.selectionEnd() == mark.second;
    }));
    QVERIFY(bar->value() > value);
    const auto [first, last] = newTextPane()->visibleRange();
    QVERIFY(first <= cursor.selectionStart() && cursor.selectionEnd() <= last);
    // A row of the groove stands for a line or two, or for a character where the text has fewer
    // lines than the groove has rows: the whole mark is selected, not the part the row covers.
    const std::pair<int, int> middle = rules.at(1);
    emit strip->placeChosen(middle.first + 1, middle.first + 2);
    QCOMPARE((std::pair{newTextPane()->textCursor().selectionStart(),
                        newTextPane()->textCursor().selectionEnd()}),
             middle);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, strip->y() + lastRow));

    // Between the marks, clear of the handle: a page up, and the selection stays.
    const int unmarked = static_cast<int>(
        std::find(rows.begin() + strip->height() / 5, rows.end(), 0) - rows.begin());
    const std::pair<int, int> selected{cursor.selectionStart(), cursor.selectionEnd()};
    const int before = bar->value();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, strip->y() + unmarked));
    QVERIFY(bar->value() < before);
    QCOMPARE((std::pair{newTextPane()->textCursor().selectionStart(),
                        newTextPane()->textCursor().selectionEnd()}),
             selected);
}

void tst_RepeatMarks::marksAreReadableOnEveryBackground_data()
{
    QTest::addColumn<quint32>("background");
    QTest::addColumn<int>("size");
    QTest::addColumn<ui::MarkSource>("source");
    QTest::addColumn<analysis::RepeatKind>("kind");
    const struct
    {
        const char* name;
        ui::ColourValue value;
    } backgrounds[] = {{"grey", ui::ColourInactiveBorder},
                       {"white", ui::Rgb(255, 255, 255)},
                       {"olive", ui::Rgb(128, 128, 0)}};
    const struct
    {
        const char* name;
        ui::MarkSource source;
        analysis::RepeatKind kind;
    } styles[] = {{"exact", ui::MarkSource::First, analysis::RepeatKind::Exact},
                  {"near", ui::MarkSource::First, analysis::RepeatKind::Near},
                  {"second source", ui::MarkSource::Second, analysis::RepeatKind::Exact},
                  {"second source near", ui::MarkSource::Second, analysis::RepeatKind::Near}};
    for (const auto& background : backgrounds) {
        for (const auto& style : styles) {
            for (const int size : {10, 18, 21}) {
                if (size == 18 || style.kind == analysis::RepeatKind::Exact)
                    QTest::addRow("%s, %s, %d pt", style.name, background.name, size)
                        << background.value << size << style.source << style.kind;
            }
        }
    }
}

// Text inside a mark of each style keeps 4.5:1 against the mark, and every mark is underlined
// in its own way, so that it shows apart from any background and from the other styles without
// relying on its hue.
void tst_RepeatMarks::marksAreReadableOnEveryBackground()
{
    QFETCH(quint32, background);
    QFETCH(int, size);
    QFETCH(ui::MarkSource, source);
    QFETCH(analysis::RepeatKind, kind);
    newTextPane()->setBackgroundColour(background);
    newTextPane()->setFontSize(size);
    showAuxiliaryPane(true);
    auxiliaryPane()->replacePlainText(SecondSource);
    compare(EveryKind, CopiedSource);
    allMarksKnown();
    const QTextCharFormat mark = ui::MarkFormat(source, kind);
    const QColor tint = mark.background().color();
    QVERIFY(!MarksOf(newTextPane(), source, kind).isEmpty());
    // The marks of this style alone, so that no other style's tint borders the text; and again
    // without their underline, which then shows as the pixels that differ.
    QList<QTextEdit::ExtraSelection> selections = newTextPane()->extraSelections();
    selections.removeIf([&](const QTextEdit::ExtraSelection& s) { return s.format != mark; });
    const auto drawnWith = [this](QList<QTextEdit::ExtraSelection> shown, bool underlines) {
        for (QTextEdit::ExtraSelection& selection : shown) {
            if (!underlines)
                selection.format.setUnderlineStyle(QTextCharFormat::NoUnderline);
        }
        newTextPane()->setExtraSelections(shown);
        return newTextPane()->viewport()->grab().toImage();
    };
    const QImage plain = drawnWith(selections, false);
    const QImage drawn = drawnWith(selections, true);
    double darkest = 1;
    int underlined = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor pixel = drawn.pixelColor(x, y);
            underlined += pixel != plain.pixelColor(x, y);
            // Text over the tint: the pixels drawn where the tint lies around them.
            if (x > 0 && drawn.pixelColor(x - 1, y) == tint && pixel != tint &&
                pixel == plain.pixelColor(x, y))
                darkest = std::min(darkest, uitest::Luminance(pixel));
        }
    }
    QVERIFY2(underlined > 20, qPrintable(QString::number(underlined)));
    QVERIFY2((uitest::Luminance(tint) + 0.05) / (darkest + 0.05) >= 4.5,
             qPrintable(QString::number(darkest)));
    // Each style apart from every other by its underline or by more than its hue.
    for (const ui::MarkSource other : {ui::MarkSource::First, ui::MarkSource::Second}) {
        for (const analysis::RepeatKind otherKind :
             {analysis::RepeatKind::Exact, analysis::RepeatKind::Near}) {
            const QTextCharFormat format = ui::MarkFormat(other, otherKind);
            if (format == mark)
                continue;
            QVERIFY(format.underlineStyle() != mark.underlineStyle() ||
                    format.underlineColor() != mark.underlineColor());
        }
    }
}

QTEST_MAIN(tst_RepeatMarks)
#include "tst_repeat_marks.moc"
