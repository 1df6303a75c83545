// The repeats of a compare shown where they are: marked in the new-text and source panes, followed
// while the writer rewords, reached with F3 and from the listing, and read by assistive technology.
// Which shingles repeat is the analysis tests' (test_repeat_tracker.cpp); here the marks are held
// to the same rules (repeat_rules.h) as the writer sees and reaches them.
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
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTextBlock>

using analysis::RepeatKind;
using ui::MarkSource;
using uitest::Find;

namespace {

using Ranges = uitest::DocumentRanges;

// The marks of a style a pane shows, as [start, end) of its document: by default those of the
// exact repeats of the source.
Ranges MarksOf(const ui::TextPane* pane, MarkSource source = MarkSource::First,
               RepeatKind kind = RepeatKind::Exact)
{
    QCoreApplication::processEvents();
    return uitest::MarksOfStyle(*pane, source, kind);
}

// The exact or near marks the rules give the new text's pane or the other's.
Ranges ByTheRules(RepeatKind kind, const QString& newText, const QString& other, bool ofNewText)
{
    return kind == RepeatKind::Exact ? uitest::MarksByTheRules(newText, other, ofNewText)
                                     : uitest::NearMarksByTheRules(newText, other, ofNewText);
}

// The runs of a pane that assistive technology reads with a mark's attributes.
Ranges ReadAsMarked(ui::TextPane* pane, MarkSource source)
{
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(pane)->textInterface();
    const QString mark = ui::MarkAttributes(source, RepeatKind::Exact);
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

void Select(ui::TextPane* pane, int from, int to)
{
    QTextCursor cursor(pane->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
}

std::pair<int, int> SelectionOf(const ui::TextPane* pane)
{
    return {pane->textCursor().selectionStart(), pane->textCursor().selectionEnd()};
}

QString Selected(const ui::TextPane* pane)
{
    return pane->textCursor().selectedText().replace(QChar::ParagraphSeparator,
                                                     QStringLiteral("\r\n"));
}

// A pane's selection as the listing shows a combination.
QString SelectedAsListed(const ui::TextPane* pane)
{
    return ui::ToQString(reference::PrepareText(ui::ToU16View(Selected(pane))));
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
const uitest::LongTexts OneParagraph(true);

// Entries a listing test expects chosen, beside those named by their number.
constexpr int LastEntry = -1;
constexpr int APageOn = -2; // a page less a line below the second

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
    void clickEntry(int entry) const
    {
        QTest::mouseClick(listing()->viewport(), Qt::LeftButton, {},
                          listing()->lineRect(listing()->entryLine(entry)).center());
    }
    void compare(const QString& newTextPlain, const QString& sourcePlain)
    {
        newTextPane()->replacePlainText(newTextPlain);
        sourcePane()->replacePlainText(sourcePlain);
        click("Command4");
        QVERIFY(mainWindow()->resultWindow());
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()->resultWindow()));
    }
    // Both sources compared, the second in the auxiliary pane, and every mark known.
    void compareWithBothSources()
    {
        showAuxiliaryPane(true);
        auxiliaryPane()->replacePlainText(SecondSource);
        compare(EveryKind, CopiedSource);
        allMarksKnown();
    }

    // Once settled, both panes mark, and the listing lists, as the rules give for the texts as
    // they stand.
    void followsTheRules() const
    {
        follower()->settle();
        const QString newText = newTextPane()->plainText();
        const QString source = sourcePane()->plainText();
        QCOMPARE(MarksOf(newTextPane()), uitest::MarksByTheRules(newText, source, true));
        QCOMPARE(MarksOf(sourcePane()), uitest::MarksByTheRules(newText, source, false));
        QCOMPARE(
            uitest::ListingAgainstTheRules(
                uitest::ListedEntries(*listing(), *follower(), *mainWindow()), newText, source),
            QString());
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
    void marksFollowTheWriter();
    void marksLieAcrossTheCuts();
    void marksFollowEveryRoad_data();
    void marksFollowEveryRoad();
    void clearingIsUndoneInEachPane();
    void keysWalkTheMarks_data();
    void keysWalkTheMarks();
    void keysReachWhatShowsPastTheCursor_data();
    void keysReachWhatShowsPastTheCursor();
    void listingLeadsToThePair_data();
    void listingLeadsToThePair();
    void listingFollowsTheTextBothWays_data();
    void listingFollowsTheTextBothWays();
    void entriesShowWhatIsDone_data();
    void entriesShowWhatIsDone();
    void listingIsCopiedAndRead();
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
    // A mark across a CR LF, which is one character of the document.
    QTest::newRow("a line break inside a word")
        << QStringLiteral("a b c\r\nd e f g h") << QStringLiteral("x a b c\r\nd e f y z");
}

// After a compare, each of the two panes marks every character within a shingle that the other
// shares; the auxiliary pane takes no part. Marks change no character, no undo step, no figure, no
// caption and no change notification, and copying out of a marked pane copies plain text alone.
void tst_RepeatMarks::marksAreWhereTheSharedShinglesLie()
{
    QFETCH(QString, newTextPlain);
    QFETCH(QString, sourcePlain);
    QCOMPARE(MarksOf(newTextPane()), Ranges());
    if (!newTextPlain.isEmpty()) {
        newTextPane()->replacePlainText(newTextPlain);
        sourcePane()->replacePlainText(sourcePlain);
    }
    newTextPlain = newTextPane()->plainText();
    sourcePlain = sourcePane()->plainText();
    QSignalSpy changes(newTextPane(), &ui::TextPane::charactersChanged);
    const quint64 revision = newTextPane()->textRevision();
    const int undoSteps = newTextPane()->document()->availableUndoSteps();
    const QString caption = mainWindow()->caption();
    const auto figures = [this] {
        tick("Timer3");
        return label("Label5")->text() + QLatin1Char('/') + label("Label8")->text();
    };
    const QString figuresBefore = figures();
    click("Command4");
    const Ranges expected = uitest::MarksByTheRules(newTextPlain, sourcePlain, true);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(MarksOf(newTextPane()), expected);
    QCOMPARE(MarksOf(sourcePane()), uitest::MarksByTheRules(newTextPlain, sourcePlain, false));
    QCOMPARE(MarksOf(auxiliaryPane()), Ranges());

    QCOMPARE(figures(), figuresBefore);
    QCOMPARE(newTextPane()->plainText(), newTextPlain);
    QCOMPARE(newTextPane()->textRevision(), revision);
    QCOMPARE(newTextPane()->document()->availableUndoSteps(), undoSteps);
    QCOMPARE(mainWindow()->caption(), caption);
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
    Ranges moved = MarksOf(newTextPane());
    for (auto& [start, end] : moved) {
        start += 4;
        end += 4;
    }
    newTextPane()->setFocus();
    newTextPane()->moveCursor(QTextCursor::Start);
    uitest::TypeText(newTextPane(), QStringLiteral("Да. "));
    QCOMPARE(MarksOf(newTextPane()), moved);

    // Reword "двадцать лет назад", and copy a new combination from the source.
    const int twenty =
        int(newTextPane()->document()->toRawText().indexOf(QStringLiteral("двадцать")));
    Select(newTextPane(), twenty, twenty + 18);
    uitest::TypeText(newTextPane(), QStringLiteral("много лет тому"));
    newTextPane()->moveCursor(QTextCursor::End);
    uitest::TypeText(newTextPane(), QStringLiteral(" перестали быть чем-то необычным."));
    QCOMPARE(MarksOf(newTextPane()).size(), moved.size()); // not yet
    const auto byTheRules = [this](bool ofNewText) {
        return uitest::MarksByTheRules(newTextPane()->plainText(), sourcePane()->plainText(),
                                       ofNewText);
    };
    QTRY_COMPARE(MarksOf(newTextPane()), byTheRules(true));
    QCOMPARE(MarksOf(sourcePane()), byTheRules(false));
}

// In a paragraph held in blocks, the marks are the rules' across the cuts, and show so in view
// wherever a block starts, in both panes.
void tst_RepeatMarks::marksLieAcrossTheCuts()
{
    compare(OneParagraph.newText, OneParagraph.source);
    for (ui::TextPane* pane : {newTextPane(), sourcePane()}) {
        QVERIFY(pane->document()->blockCount() > 4);
        const bool ofNewText = pane == newTextPane();
        Ranges marks;
        for (const ui::PaneRange& mark :
             follower()->marks(ofNewText ? analysis::TextSide::NewText : analysis::TextSide::Source,
                               0, pane->document()->characterCount(), RepeatKind::Exact))
            marks.append({mark.start, mark.end});
        QCOMPARE(marks,
                 uitest::MarksByTheRules(OneParagraph.newText, OneParagraph.source, ofNewText));
        for (QTextBlock block = pane->document()->begin().next(); block.isValid();
             block = block.next()) {
            pane->setTextCursor(QTextCursor(block));
            pane->centerCursor();
            QCOMPARE(uitest::MarksInViewAgainstTheRules(*mainWindow()), QString());
        }
    }
    // A line break typed into the paragraph's middle leaves two no longer than 64K, held whole;
    // deleted, the paragraph is cut again: followed while a compare runs on the worker and after.
    follower()->compareInBackground();
    ui::TextPane* pane = newTextPane();
    pane->setFocus();
    QTextCursor middle(pane->document());
    middle.setPosition(pane->document()->characterCount() / 2);
    pane->setTextCursor(middle);
    QTest::keyClicks(pane, QStringLiteral("ab"));
    QTest::keyClick(pane, Qt::Key_Return);
    QCOMPARE(pane->document()->blockCount(), 2);
    QTest::keyClick(pane, Qt::Key_Backspace);
    QVERIFY(pane->document()->blockCount() > 4);
    QVERIFY(follower()->isComparing());
    QTRY_VERIFY(!follower()->isComparing());
    QCOMPARE(QString::fromStdU16String(follower()->trackedText(analysis::TextSide::NewText)),
             pane->plainText());
    follower()->settle();
    QCOMPARE(uitest::MarksInViewAgainstTheRules(*mainWindow()), QString());
}

void tst_RepeatMarks::marksFollowEveryRoad_data()
{
    QTest::addColumn<QByteArray>("road");
    QTest::addColumn<bool>("inSource");
    QTest::addColumn<bool>("fromTheEnd");
    QTest::addColumn<bool>("oneParagraph");
    const auto rows = [](std::initializer_list<const char*> roads, bool fromTheEnd, bool sourceToo,
                         bool oneParagraph = false) {
        const char* shape = oneParagraph ? ", one paragraph" : "";
        for (const char* road : roads) {
            QTest::addRow("%s, new text%s", road, shape)
                << QByteArray(road) << false << fromTheEnd << oneParagraph;
            if (sourceToo) {
                QTest::addRow("%s, source%s", road, shape)
                    << QByteArray(road) << true << fromTheEnd << oneParagraph;
            }
        }
    };
    // Down from the start of a pane, up from its end, and from outside the pane.
    rows({"Ctrl+End", "PageDown", "Down past the bottom", "scroll bar trough", "scroll bar arrow",
          "scroll bar thumb", "wheel", "F3", "Shift+F3", "idle layout"},
         false, true);
    rows({"Ctrl+Home", "PageUp", "Up past the top", "font size"}, true, true);
    rows({"auxiliary pane switched off", "listing click", "listing Down", "listing Enter"}, false,
         false);
    // Across the blocks a paragraph of 100K characters is held in.
    rows({"Ctrl+End", "PageDown", "scroll bar thumb", "wheel", "F3", "Shift+F3"}, false, true,
         true);
    rows({"Ctrl+Home"}, true, true, true);
    rows({"listing Enter"}, false, false, true);
}

// However the view of a pane moves, it then shows the marks of what is in view, drawn.
void tst_RepeatMarks::marksFollowEveryRoad()
{
    QFETCH(QByteArray, road);
    QFETCH(bool, inSource);
    QFETCH(bool, fromTheEnd);
    QFETCH(bool, oneParagraph);
    const uitest::LongTexts& texts = oneParagraph ? OneParagraph : Long;
    compare(texts.newText, texts.source);
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
    QCOMPARE(uitest::MarksInViewAgainstTheRules(*mainWindow()), QString());
    const auto before = uitest::CharactersInView(*pane);

    const auto press = [pane](QKeyCombination key, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(pane, key.key(), key.keyboardModifiers());
    };
    const auto clickBar = [bar](QStyle::SubControl part, int times) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(bar, Qt::LeftButton, {}, uitest::SliderPart(bar, part).center());
    };
    ui::ListingPane* entries = listing();
    const int lastEntry = entries->entryCount() - 1;
    if (road == "Ctrl+End") {
        press(Qt::ControlModifier | Qt::Key_End);
    } else if (road == "Ctrl+Home") {
        press(Qt::ControlModifier | Qt::Key_Home);
    } else if (road == "PageDown" || road == "PageUp") {
        const Qt::Key key = road == "PageDown" ? Qt::Key_PageDown : Qt::Key_PageUp;
        uitest::StepUntilStill(pane, [&] { press(key); });
    } else if (road == "Down past the bottom" || road == "Up past the top") {
        press(road.startsWith("Down") ? Qt::Key_Down : Qt::Key_Up, 25);
    } else if (road == "scroll bar trough") {
        clickBar(QStyle::SC_ScrollBarAddPage, 2);
    } else if (road == "scroll bar arrow") {
        clickBar(QStyle::SC_ScrollBarAddLine, 20);
    } else if (road == "scroll bar thumb") {
        const QPoint grip = uitest::SliderPart(bar, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, grip + QPoint(0, 20));
        QTest::mouseMove(bar, QPoint(grip.x(), bar->height()));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(grip.x(), bar->height()));
    } else if (road == "wheel") {
        uitest::StepUntilStill(pane, [pane] { uitest::WheelNotch(pane); });
    } else if (road == "F3") {
        press(Qt::Key_F3, 2);
    } else if (road == "Shift+F3") {
        press(Qt::ShiftModifier | Qt::Key_F3);
    } else if (road == "font size") {
        ui::OptionsWindow* options = openOptions();
        // Moved by the keyboard, applied by a click on its thumb.
        auto* slider = uitest::Find<QSlider>(options, inSource ? "Slider1" : "Slider2");
        QTest::keyClick(slider, Qt::Key_Home);
        QTest::mouseClick(slider, Qt::LeftButton, {},
                          uitest::SliderPart(slider, QStyle::SC_SliderHandle).center());
        QCOMPARE(pane->fontSize(), qreal(slider->minimum()));
        options->close();
    } else if (road == "idle layout") {
        // Every paragraph laid out anew; the end is reached before the idle layout got there.
        pane->setFontSize(12);
        QVERIFY(!pane->isLaidOut());
        press(Qt::ControlModifier | Qt::Key_End);
        QTRY_VERIFY(pane->isLaidOut());
    } else if (road == "auxiliary pane switched off") {
        showAuxiliaryPane(false);
        pane = sourcePane();
    } else if (road == "listing click") {
        // Scrolled to the last entry, which a click then chooses.
        entries->verticalScrollBar()->setValue(entries->verticalScrollBar()->maximum());
        clickEntry(lastEntry);
        QCOMPARE(entries->currentEntry(), lastEntry);
    } else if (road.startsWith("listing")) {
        entries->setFocus();
        for (int i = 0; i <= lastEntry; ++i)
            QTest::keyClick(entries, Qt::Key_Down);
        QCOMPARE(entries->currentEntry(), lastEntry);
        if (road == "listing Enter")
            QTest::keyClick(entries, Qt::Key_Return);
    } else {
        QFAIL("no such road");
    }
    QVERIFY2(uitest::CharactersInView(*pane) != before, "the road did not move the view");
    QCOMPARE(uitest::MarksInViewAgainstTheRules(*mainWindow()), QString());
}

// "Очистить все" is undone in each pane on its own; the marks follow the clearing and its undo as
// any edit, and the listing with them.
void tst_RepeatMarks::clearingIsUndoneInEachPane()
{
    compare(PartlyCopied, CopiedSource);
    const QString auxiliary = auxiliaryPane()->plainText();
    click("Command2");
    follower()->settle();
    QCOMPARE(MarksOf(newTextPane()), Ranges());
    QCOMPARE(MarksOf(sourcePane()), Ranges());
    QCOMPARE(mainWindow()->caption(), QStringLiteral("Palimo Suite..."));

    // Ctrl and a key in a pane, and the text the pane then holds.
    const auto pressIn = [](ui::TextPane* pane, Qt::Key key) {
        pane->setFocus();
        QTest::keyClick(pane, key, Qt::ControlModifier);
        return pane->plainText();
    };
    QCOMPARE(pressIn(sourcePane(), Qt::Key_Z), CopiedSource);
    QCOMPARE(mainWindow()->caption(), QStringLiteral("Palimo Suite..."));
    QCOMPARE(pressIn(newTextPane(), Qt::Key_Z), PartlyCopied);
    QCOMPARE(mainWindow()->caption(), PartlyCopied.left(60));
    // Redone with Ctrl+Y, and undone again.
    QCOMPARE(pressIn(newTextPane(), Qt::Key_Y), QString());
    QCOMPARE(pressIn(newTextPane(), Qt::Key_Z), PartlyCopied);
    QCOMPARE(pressIn(auxiliaryPane(), Qt::Key_Z), auxiliary);
    tick("Timer3");
    QCOMPARE(
        label("Label5")->text(),
        QString::number(
            analysis::ComputeTextStatistics(ui::ToU16View(PartlyCopied)).CharactersWithoutSpaces));
    // The texts as they were compared: every entry standing again.
    followsTheRules();
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
    compareWithBothSources();
    ui::TextPane* walked = panes()[pane];
    const RepeatKind kind = key == Qt::Key_F3 ? RepeatKind::Exact : RepeatKind::Near;
    // The runs of the kind the rules give the pane, of each source it is compared with.
    Ranges marks;
    if (pane != 2)
        marks += ByTheRules(kind, EveryKind, CopiedSource, pane == 0);
    if (pane != 1)
        marks += ByTheRules(kind, EveryKind, SecondSource, pane == 0);
    std::ranges::sort(marks);
    const qsizetype count = marks.size();
    QVERIFY(count >= (pane == 0 ? 2 : 1));
    backToTheNewTextPane();
    walked->setFocus();
    walked->moveCursor(QTextCursor::Start);
    // A screen reader hears where each step lands, as the pane's description.
    const auto heard = [walked] {
        return QAccessible::queryAccessibleInterface(walked)->text(QAccessible::Description);
    };
    QList<std::pair<qsizetype, QString>> order;
    QList<std::pair<qsizetype, QString>> expected;
    const auto step = [&](Qt::KeyboardModifiers modifiers, qsizetype index, const char* wrap) {
        QTest::keyClick(walked, static_cast<Qt::Key>(key), modifiers);
        order << std::pair(marks.indexOf(SelectionOf(walked)), heard());
        expected << std::pair(index, QStringLiteral("%1 %2 из %3%4")
                                         .arg(kind == RepeatKind::Exact
                                                  ? QStringLiteral("повторение")
                                                  : QStringLiteral("похожее сочетание"))
                                         .arg(index + 1)
                                         .arg(count)
                                         .arg(QString::fromUtf8(wrap)));
    };
    // Past the last round to the first; back from it round past the start to the last, then the
    // one before it.
    for (qsizetype i = 0; i <= count; ++i)
        step(Qt::NoModifier, i % count, i == count ? ", снова с начала текста" : "");
    for (const qsizetype back : {count - 1, count - 2}) {
        const qsizetype index = (back + count) % count;
        step(Qt::ShiftModifier, index, index == count - 1 ? ", снова с конца текста" : "");
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
    QCOMPARE(heard(), kind == RepeatKind::Exact ? QStringLiteral("повторений нет")
                                                : QStringLiteral("похожих сочетаний нет"));

    QStringList commands;
    for (const QAction* action : walked->actions())
        commands << action->text() + QLatin1Char('\t') + action->shortcut().toString();
    QCOMPARE(commands, (QStringList{"Следующее повторение\tF3", "Предыдущее повторение\tShift+F3",
                                    "Следующее похожее сочетание\tF4",
                                    "Предыдущее похожее сочетание\tShift+F4"}));
}

void tst_RepeatMarks::keysReachWhatShowsPastTheCursor_data()
{
    QTest::addColumn<QString>("copy"); // twice in the new text
    QTest::addColumn<bool>("forward");
    // The near run begins under the exact one and shows past its end; backwards, the other way.
    QTest::newRow("F4 after F3") << QStringLiteral("Сервис проверяет тексты статьи быстро. ")
                                 << true;
    QTest::newRow("Shift+F4 after Shift+F3")
        << QStringLiteral("Сервис проверял тексты статей быстро. ") << false;
}

// Under an exact mark the start of a near one does not show: from the exact repeat reached by F3,
// F4 reaches the near one that shows just past it, not the one after; so backwards.
void tst_RepeatMarks::keysReachWhatShowsPastTheCursor()
{
    QFETCH(QString, copy);
    QFETCH(bool, forward);
    const QString source = QStringLiteral("Сервис проверяет тексты статей быстро. ");
    compare(copy + copy, source);
    allMarksKnown();
    backToTheNewTextPane();
    if (!forward)
        newTextPane()->moveCursor(QTextCursor::End);
    const Ranges exact = uitest::MarksByTheRules(copy + copy, source, true);
    const Ranges near = uitest::NearMarksByTheRules(copy + copy, source, true);
    QCOMPARE(near.size(), 2);
    const Qt::KeyboardModifiers way = forward ? Qt::NoModifier : Qt::ShiftModifier;
    QTest::keyClick(newTextPane(), Qt::Key_F3, way);
    QCOMPARE(SelectionOf(newTextPane()), forward ? exact.first() : exact.last());
    const auto [reachedFrom, reachedTo] = forward ? near.first() : near.last();
    QVERIFY(forward ? reachedFrom < exact.first().second : reachedTo > exact.last().first);
    QTest::keyClick(newTextPane(), Qt::Key_F4, way);
    QCOMPARE(SelectionOf(newTextPane()), std::pair(reachedFrom, reachedTo));
}

void tst_RepeatMarks::listingLeadsToThePair_data()
{
    QTest::addColumn<QKeySequence>("keys"); // none: the current entry clicked again
    QTest::addColumn<int>("entry");
    QTest::newRow("Down") << QKeySequence(Qt::Key_Down) << 2;
    QTest::newRow("Up") << QKeySequence(Qt::Key_Up) << 0;
    QTest::newRow("Home") << QKeySequence(Qt::Key_Home) << 0;
    QTest::newRow("Ctrl+Home") << QKeySequence(Qt::ControlModifier | Qt::Key_Home) << 0;
    QTest::newRow("End") << QKeySequence(Qt::Key_End) << LastEntry;
    QTest::newRow("Ctrl+End") << QKeySequence(Qt::ControlModifier | Qt::Key_End) << LastEntry;
    QTest::newRow("PageDown") << QKeySequence(Qt::Key_PageDown) << APageOn;
    QTest::newRow("PageDown, PageUp") << QKeySequence(Qt::Key_PageDown, Qt::Key_PageUp) << 1;
    QTest::newRow("the current entry clicked again") << QKeySequence() << 1;
    QTest::newRow("Down, Enter") << QKeySequence(Qt::Key_Down, Qt::Key_Return) << 2;
}

// A click on an entry, or the keys of a list, choose an entry and select its pair in both panes,
// the keyboard left in the listing and the writer's place in the main window kept; Enter brings
// the new-text pane forward with the combination selected.
void tst_RepeatMarks::listingLeadsToThePair()
{
    QFETCH(QKeySequence, keys);
    QFETCH(int, entry);
    compare(Long.newText, Long.source);
    ui::ListingPane* entries = listing();
    QWidget* const writing = mainWindow()->focusWidget();
    QVERIFY(entries->entryCount() > entries->verticalScrollBar()->pageStep() + 1);
    const auto chosen = [&](int expected) {
        QCOMPARE(entries->currentEntry(), expected);
        QCOMPARE(Selected(newTextPane()), entries->entryText(expected));
        QCOMPARE(Selected(sourcePane()), entries->entryText(expected));
    };
    clickEntry(1);
    chosen(1);
    for (ui::TextPane* pane : {newTextPane(), sourcePane()})
        pane->moveCursor(QTextCursor::Start);
    if (keys.isEmpty())
        clickEntry(1);
    else
        QTest::keySequence(entries, keys);
    chosen(entry == LastEntry ? entries->entryCount() - 1
           : entry == APageOn ? 1 + (entries->verticalScrollBar()->pageStep() - 1)
                              : entry);
    if (keys.isEmpty() || keys[keys.count() - 1].key() != Qt::Key_Return) {
        QCOMPARE(mainWindow()->resultWindow()->focusWidget(), entries);
        QCOMPARE(mainWindow()->focusWidget(), writing);
    } else {
        QCOMPARE(mainWindow()->focusWidget(), newTextPane());
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
    }
}

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
        } else if (step == QLatin1String("undo") || step == QLatin1String("redo")) {
            follower()->settle();
            QTest::keyClick(newTextPane(), step == QLatin1String("undo") ? Qt::Key_Z : Qt::Key_Y,
                            Qt::ControlModifier);
        } else if (step == QLatin1String("paste back")) {
            QTest::keyClick(newTextPane(), Qt::Key_A, Qt::ControlModifier);
            uitest::Paste(newTextPane(), newText);
        } else if (step == QLatin1String("reword the first")) {
            Select(newTextPane(), firstAt, firstAt + 8);
            uitest::TypeText(newTextPane(), QStringLiteral("сорок"));
        }
    }
    followsTheRules();
    QCOMPARE(std::ranges::count(uitest::ListedEntries(*listing(), *follower(), *mainWindow()),
                                false, &reference::ListedEntry::struckOut),
             standing);

    // A click on a standing entry selects its place in both panes.
    for (int entry = 0; entry < listing()->entryCount(); ++entry) {
        if (listing()->isEntryDone(entry))
            continue;
        listing()->setFocus();
        QTest::keyClick(listing(), Qt::Key_Home, Qt::ControlModifier);
        clickEntry(entry);
        QCOMPARE(SelectedAsListed(newTextPane()), listing()->entryText(entry));
        QCOMPARE(SelectedAsListed(sourcePane()), listing()->entryText(entry));
    }
}

void tst_RepeatMarks::entriesShowWhatIsDone_data()
{
    QTest::addColumn<bool>("done");
    QTest::addColumn<bool>("focused");
    QTest::newRow("standing, listing focused") << false << true;
    QTest::newRow("standing, focus elsewhere") << false << false;
    QTest::newRow("struck out, listing focused") << true << true;
    QTest::newRow("struck out, focus elsewhere") << true << false;
}

// An entry whose combination was reworded is drawn greyed and struck out, its text kept, and a
// reader hears it struck through, and done once it is the current entry. The current entry,
// standing or struck out, reads at 4.5:1 on its highlight.
void tst_RepeatMarks::entriesShowWhatIsDone()
{
    QFETCH(bool, done);
    QFETCH(bool, focused);
    compare(PartlyCopied, CopiedSource);
    ui::ListingPane* entries = listing();
    const QString listed = entries->plainText();
    const int last = entries->entryCount() - 1;
    if (done) {
        clickEntry(0);
        QTest::keyClick(entries, Qt::Key_Return);
        uitest::TypeText(newTextPane(), QStringLiteral("иначе"));
        follower()->settle();
    }
    QCOMPARE(entries->isEntryDone(0), done);
    QVERIFY(!entries->isEntryDone(last));
    QCOMPARE(entries->plainText(), listed);
    // Entry 0 as it is drawn and read where it is not the current entry, scrolled back into view.
    entries->clearFocus();
    entries->setCurrentEntry(last);
    entries->verticalScrollBar()->setValue(0);
    const QImage unchosen = entries->viewport()->grab().toImage();
    const QRect line = entries->lineRect(entries->entryLine(0));
    QVERIFY(entries->viewport()->rect().contains(line));
    double darkest = 1;
    for (int y = line.top() + 2; y <= line.bottom() - 2; ++y) {
        for (int x = 0; x < unchosen.width() / 2; ++x)
            darkest = std::min(darkest, uitest::Luminance(unchosen.pixelColor(x, y)));
    }
    QVERIFY2(done ? darkest > 0.1 : darkest < 0.05, qPrintable(QString::number(darkest)));
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(entries);
    const auto attributes = [&](int entry) {
        int start = 0;
        int end = 0;
        return read->textInterface()->attributes(entries->lineStart(entries->entryLine(entry)),
                                                 &start, &end);
    };
    QCOMPARE(attributes(0), done ? QStringLiteral("text-line-through-type:single;") : QString());
    QCOMPARE(attributes(last), QString());
    QCOMPARE(read->text(QAccessible::Description), QString());

    // Chosen after another, an entry reworded leaves nothing of the other's pair selected.
    clickEntry(last);
    QVERIFY(newTextPane()->textCursor().hasSelection());
    QVERIFY(sourcePane()->textCursor().hasSelection());
    clickEntry(0);
    QCOMPARE(newTextPane()->textCursor().hasSelection(), !done);
    QCOMPARE(sourcePane()->textCursor().hasSelection(), !done);
    QCOMPARE(entries->currentEntry(), 0);
    QCOMPARE(read->text(QAccessible::Description), done ? QStringLiteral("исправлено") : QString());
    if (focused) {
        mainWindow()->resultWindow()->activateWindow();
    } else {
        mainWindow()->activateWindow();
        newTextPane()->setFocus();
    }
    QTRY_COMPARE(entries->hasFocus(), focused);
    const QImage drawn = entries->viewport()->grab().toImage();
    const QColor highlight = drawn.pixelColor(line.left() + 1, line.top() + 1);
    const double contrast = uitest::HighestContrast(drawn, highlight, line.adjusted(0, 1, 0, -1));
    QVERIFY2(contrast >= 4.5, qPrintable(QString::number(contrast)));
}

// Ctrl+C in the listing copies the current entry, or else the selected text. Assistive
// technology reads the listing's text, its current entry as the cursor's line and its selection,
// and a pane's selection made by F3.
void tst_RepeatMarks::listingIsCopiedAndRead()
{
    compare(PartlyCopied, CopiedSource);
    ui::ListingPane* entries = listing();
    entries->setFocus();
    clickEntry(1);
    QApplication::clipboard()->clear();
    QTest::keyClick(entries, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), entries->text().section(QLatin1Char('\n'), 1, 1));

    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(entries);
    QVERIFY(read && read->textInterface());
    QAccessibleTextInterface* text = read->textInterface();
    QCOMPARE(text->text(0, text->characterCount()), entries->text());
    int start = 0;
    int end = 0;
    QCOMPARE(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end),
             entries->text().section(QLatin1Char('\n'), 1, 1) + QLatin1Char('\n'));
    // One attribute run a line: a reader builds its lines from the runs.
    int runStart = 0;
    int runEnd = 0;
    text->attributes(start + 1, &runStart, &runEnd);
    QCOMPARE(std::pair(runStart, runEnd), std::pair(start, end));

    QTest::keyClick(entries, Qt::Key_A, Qt::ControlModifier);
    text->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(0, int(entries->text().size())));
    QTest::keyClick(entries, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), entries->text());

    backToTheNewTextPane();
    QTest::keyClick(newTextPane(), Qt::Key_F3);
    QAccessible::queryAccessibleInterface(newTextPane())
        ->textInterface()
        ->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), MarksOf(newTextPane()).first());
}

// Beside the exact repeats of the source, the new text's pane marks the same words in other
// forms and, while the auxiliary pane is shown, the repeats of the second source, exact and near,
// each in its style; the source and auxiliary panes mark their side of each. Hidden, the second
// source marks nothing; shown again, its marks are back.
void tst_RepeatMarks::everyKindIsMarked()
{
    compareWithBothSources();
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
                return ByTheRules(kind, EveryKind, other, ofNewText);
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
    QVERIFY(!MarksOf(newTextPane(), MarkSource::First, RepeatKind::Near).isEmpty());
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
    QCOMPARE(MarksOf(newTextPane(), MarkSource::Second),
             uitest::MarksByTheRules(EveryKind, SecondSource, true));

    second()->compareInBackground();
    // Paragraph breaks typed, deleted within a selection, and brought back by undo, in each pane,
    // before the worker's compare is taken in.
    for (ui::TextPane* pane : {newTextPane(), auxiliaryPane()}) {
        pane->setFocus();
        Select(pane, 12, pane->document()->characterCount() - 30);
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
        MarksOf(newTextPane(), MarkSource::Second),
        uitest::MarksByTheRules(newTextPane()->plainText(), auxiliaryPane()->plainText(), true));
}

void tst_RepeatMarks::resultWindowCountsTheNearRepeats_data()
{
    QTest::addColumn<QString>("newTextPlain");
    QTest::newRow("beside the listing") << EveryKind;
    QTest::newRow("a unique text, rewritten in other endings") << OtherEndings;
}

// A line of its own says how many shingles of the new text repeat the source in other forms of
// their words: "…" until they are counted, and shown whole once they are. Where the line stands
// in the window is the result window's own test's.
void tst_RepeatMarks::resultWindowCountsTheNearRepeats()
{
    QFETCH(QString, newTextPlain);
    compare(newTextPlain, CopiedSource);
    ui::ResultWindow* window = mainWindow()->resultWindow();
    const auto* line = Find<QLabel>(window, "NearRepeatsLine");
    const QString lead = QStringLiteral("Похожих сочетаний (другие формы слов): ");
    QVERIFY(line->text() == lead + QStringLiteral("считаются\u2026") ||
            follower()->areNearRepeatsKnown());
    allMarksKnown();
    const std::size_t count =
        reference::LocateNearRepeats(ui::ToU16View(newTextPlain), ui::ToU16View(CopiedSource))
            .newTextCount;
    QVERIFY(count > 0);
    QCOMPARE(line->text(), lead + QString::number(count));
    QVERIFY(line->isVisible());
    QVERIFY(line->geometry().bottom() < window->height());
}

// Each pane's scroll bar shows along its groove where the marks of the whole text lie, the
// marks at the start, in the middle and at the end of the text at the top, the middle and the
// bottom; a click where a mark is painted selects the whole mark, a click elsewhere pages as ever;
// a mark at the very end is painted as tall as any.
void tst_RepeatMarks::stripLeadsToTheMarks()
{
    compare(Long.newText, Long.source);
    backToTheNewTextPane();
    allMarksKnown();
    QTRY_VERIFY(newTextPane()->isLaidOut());
    QScrollBar* bar = newTextPane()->verticalScrollBar();
    auto* strip = Find<ui::MarkStrip>(bar, "MarkStrip");
    QTRY_VERIFY(strip->isWorkedOut());
    const std::vector<std::uint8_t>& rows = strip->rows();
    const int height = strip->height();
    QCOMPARE(static_cast<int>(rows.size()), height);
    QVERIFY(height > 100);
    // The exact repeats of the source, the layer painted last, where the rules put them.
    const std::uint8_t exact = 1u << 3;
    const Ranges rules = uitest::MarksByTheRules(newTextPane()->plainText(), Long.source, true);
    for (int row = 0; row < height; ++row) {
        const auto [from, to] = strip->rowRange(row);
        const bool marked = !uitest::Clipped(rules, from, std::max(to, from + 1)).isEmpty();
        QCOMPARE((rows[static_cast<std::size_t>(row)] & exact) != 0, marked);
    }
    const auto marked = [](std::uint8_t bits) { return bits != 0; };
    const int firstRow = static_cast<int>(std::ranges::find_if(rows, marked) - rows.begin());
    const int lastRow =
        height - 1 -
        static_cast<int>(std::ranges::find_if(rows.rbegin(), rows.rend(), marked) - rows.rbegin());
    QVERIFY(firstRow < height / 10);
    QVERIFY(lastRow >= height - height / 10);
    QVERIFY(std::any_of(rows.begin() + height * 4 / 10, rows.begin() + height * 6 / 10, marked));

    // The marks of the rows under the handle show through it, see-through: in the middle of the
    // text, where the thumb is dragged.
    {
        const int scrolled = bar->value();
        const int middleRow =
            static_cast<int>(std::find_if(rows.begin() + height / 2, rows.end(),
                                          [](std::uint8_t bits) { return (bits & exact) != 0; }) -
                             rows.begin());
        bar->setValue(
            static_cast<int>(qint64{middleRow} * (bar->maximum() + bar->pageStep()) / height) -
            bar->pageStep() / 2);
        const QRect handle = uitest::SliderPart(bar, QStyle::SC_ScrollBarSlider);
        QVERIFY(handle.contains(bar->width() / 2, strip->y() + middleRow));
        const auto pixel = [bar, strip, middleRow] {
            const QImage image = bar->grab().toImage();
            return image.pixelColor(QPoint(bar->width() / 2, strip->y() + middleRow) *
                                    image.devicePixelRatio());
        };
        const QColor throughTheHandle = pixel();
        strip->hide();
        const QColor handleAlone = pixel();
        strip->show();
        QVERIFY(throughTheHandle != handleAlone);
        QVERIFY(throughTheHandle != ui::StripColour(MarkSource::First, RepeatKind::Exact));
        bar->setValue(scrolled);
    }

    const auto clickRow = [bar, strip](int row) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, strip->y() + row));
    };
    const int value = bar->value();
    clickRow(lastRow);
    const std::pair<int, int> selected = SelectionOf(newTextPane());
    QVERIFY(rules.contains(selected));
    QVERIFY(bar->value() > value);
    const auto [first, last] = newTextPane()->visibleRange();
    QVERIFY(first <= selected.first && selected.second <= last);
    // A row of the groove stands for a line or two, or for a character where the text has fewer
    // lines than the groove has rows: the whole mark is selected, not the part the row covers.
    const std::pair<int, int> middle = rules.at(1);
    emit strip->placeChosen(middle.first + 1, middle.first + 2);
    QCOMPARE(SelectionOf(newTextPane()), middle);
    clickRow(lastRow);

    // Just below where a mark is painted, clear of the handle: a page up, and the selection
    // stays. On the lower of the mark's two rows, the mark.
    const auto row = [&rows](int at) { return rows[static_cast<std::size_t>(at)]; };
    int below = height / 5;
    while (below + 2 < height &&
           ((row(below) & exact) == 0 || row(below + 1) != 0 || row(below + 2) != 0))
        ++below;
    QVERIFY(below + 2 < height);
    const int before = bar->value();
    clickRow(below + 2);
    QVERIFY(bar->value() < before);
    QCOMPARE(SelectionOf(newTextPane()), selected);
    clickRow(below + 1);
    QVERIFY(rules.contains(SelectionOf(newTextPane())));
    QVERIFY(SelectionOf(newTextPane()) != selected);

    // A repeat on the text's last line alone, where the groove's last row alone stands for it:
    // painted as tall as the others, within the groove, the handle away at the top.
    compare(Long.newText.section(QStringLiteral("\r\n"), 0, 78) +
                QStringLiteral("\r\nиное начало79 фразы79 такой79 "),
            Long.source);
    backToTheNewTextPane();
    allMarksKnown();
    QTRY_VERIFY(newTextPane()->isLaidOut());
    bar->setValue(bar->minimum());
    QTRY_VERIFY(strip->isWorkedOut());
    QVERIFY((strip->rows().back() & exact) != 0);
    QVERIFY(strip->rows()[strip->rows().size() - 2] == 0);
    const QImage painted = strip->grab().toImage();
    const QColor exactColour = ui::StripColour(MarkSource::First, RepeatKind::Exact);
    int paintedRows = 0;
    for (int y = painted.height() - 1;
         y >= 0 && painted.pixelColor(painted.width() / 4, y) == exactColour; --y)
        ++paintedRows;
    QVERIFY2(paintedRows >= 2 * painted.devicePixelRatio(),
             qPrintable(QString::number(paintedRows)));
    // Where it is painted, a click leads to it: the repeat ends before the text's last space.
    clickRow(strip->height() - 2);
    QCOMPARE(SelectionOf(newTextPane()).second, newTextPane()->document()->characterCount() - 2);
}

void tst_RepeatMarks::marksAreReadableOnEveryBackground_data()
{
    QTest::addColumn<quint32>("background");
    QTest::addColumn<int>("size");
    QTest::addColumn<MarkSource>("source");
    QTest::addColumn<RepeatKind>("kind");
    const std::pair<const char*, ui::ColourValue> backgrounds[] = {
        {"grey", ui::ColourInactiveBorder},
        {"white", ui::Rgb(255, 255, 255)},
        {"olive", ui::Rgb(128, 128, 0)}};
    const std::tuple<const char*, MarkSource, RepeatKind> styles[] = {
        {"exact", MarkSource::First, RepeatKind::Exact},
        {"near", MarkSource::First, RepeatKind::Near},
        {"second source", MarkSource::Second, RepeatKind::Exact},
        {"second source near", MarkSource::Second, RepeatKind::Near}};
    for (const auto& [background, value] : backgrounds) {
        for (const auto& [style, source, kind] : styles) {
            for (const int size : {10, 18, 21}) {
                if (size == 18 || kind == RepeatKind::Exact)
                    QTest::addRow("%s, %s, %d pt", style, background, size)
                        << value << size << source << kind;
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
    QFETCH(MarkSource, source);
    QFETCH(RepeatKind, kind);
    newTextPane()->setBackgroundColour(background);
    newTextPane()->setFontSize(size);
    compareWithBothSources();
    const QTextCharFormat mark = ui::MarkFormat(source, kind);
    const QColor tint = mark.background().color();
    QVERIFY(!MarksOf(newTextPane(), source, kind).isEmpty());
    // The marks of this style alone, so that no other style's tint borders the text; and again
    // without their underline, which then shows as the pixels that differ.
    QList<QTextEdit::ExtraSelection> selections = newTextPane()->extraSelections();
    selections.removeIf([&](const QTextEdit::ExtraSelection& s) { return s.format != mark; });
    const auto drawnWith = [this, selections](bool underlines) {
        QList<QTextEdit::ExtraSelection> shown = selections;
        for (QTextEdit::ExtraSelection& selection : shown) {
            if (!underlines)
                selection.format.setUnderlineStyle(QTextCharFormat::NoUnderline);
        }
        newTextPane()->setExtraSelections(shown);
        return newTextPane()->viewport()->grab().toImage();
    };
    const QImage plain = drawnWith(false);
    const QImage drawn = drawnWith(true);
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
    for (const MarkSource other : {MarkSource::First, MarkSource::Second}) {
        for (const RepeatKind otherKind : {RepeatKind::Exact, RepeatKind::Near}) {
            const QTextCharFormat format = ui::MarkFormat(other, otherKind);
            QVERIFY(format == mark || format.underlineStyle() != mark.underlineStyle() ||
                    format.underlineColor() != mark.underlineColor());
        }
    }
}

QTEST_MAIN(tst_RepeatMarks)
#include "tst_repeat_marks.moc"
