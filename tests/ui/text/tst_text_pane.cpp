// The text pane itself: its plain text and line breaks, the clipboard, the keys it takes, and its
// own layout: the same lines as Qt's word-boundary-or-anywhere wrapping, at a cost that grows
// with the text even where no word boundary comes; characters that no font draws laid out in the
// pane font alone, looking as they would otherwise; the end of any text within reach. A paste or
// drop that brings no text, or more than the memory left could hold, changes nothing.
#include "analysis/analysis.h"
#include "support/address_space_left.h"
#include "support/random_edits.h"
#include "support/scrolling.h"
#include "support/window_test.h"
#include "ui/kit/design_fonts.h"
#include "ui/kit/strings.h"
#include "ui/kit/twips.h"
#include "ui/main/main_window.h"
#include "ui/text/line_break_conversion.h"
#include "ui/text/text_pane.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGlyphRun>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QRawFont>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <utility>

class tst_TextPane : public uitest::WindowTest
{
    Q_OBJECT

    // The new-text pane holding `text`, focused in the active window with the cursor at its
    // end; null when the window never became active.
    ui::TextPane* typingAtTheEnd(const QString& text)
    {
        if (!QTest::qWaitForWindowActive(mainWindow()))
            return nullptr;
        ui::TextPane* pane = newTextPane();
        pane->replacePlainText(text);
        pane->setFocus();
        pane->moveCursor(QTextCursor::End);
        return pane;
    }

    // What is wrong with the live figures for `text`, or nothing.
    QString figuresAgainst(const QString& text) const
    {
        tick("Timer3");
        const analysis::TextStatistics fresh = analysis::ComputeTextStatistics(ui::ToU16View(text));
        const QString words = fresh.WordCount == 0 ? QString() : QString::number(fresh.WordCount);
        if (label("Label5")->text() != QString::number(fresh.CharactersWithoutSpaces) ||
            label("Label8")->text() != words)
            return label("Label5")->text() + u'/' + label("Label8")->text();
        return {};
    }

    void checkEndIsReachable(int walkedPages, bool againstQtsOwn);

private slots:
    void plainTextKeepsTheCharacters();
    void copyingGivesLineFeeds_data();
    void copyingGivesLineFeeds();
    void controlTabTypesATab();
    void lineBreakIsOneStepToUndo_data();
    void lineBreakIsOneStepToUndo();
    void shiftF10OpensTheContextMenu();
    void linesAreQtsOwn_data();
    void linesAreQtsOwn();
    void layoutWorkGrowsWithTheText_data();
    void layoutWorkGrowsWithTheText();
    void missingGlyphsAreMarked_data();
    void missingGlyphsAreMarked();
    void markedTextLooksAsBefore_data();
    void markedTextLooksAsBefore();
    void paragraphsAreMarkedWhenTypedInto();
    void endOfTextIsReachable_data();
    void endOfTextIsReachable();
    void megabyteParagraphsAreReachable_data();
    void megabyteParagraphsAreReachable();
    void placeSurvivesANewWidth_data();
    void placeSurvivesANewWidth();
    void scrollRangeFollowsEdits_data();
    void scrollRangeFollowsEdits();
    void pasteOrDropInsertsWhatItBrings_data();
    void pasteOrDropInsertsWhatItBrings();
    void longParagraphsAreCutAfterASpace_data();
    void longParagraphsAreCutAfterASpace();
    void tripleClickSelectsTheParagraph_data();
    void tripleClickSelectsTheParagraph();
};

namespace {

QString Drawn(const QString& alphabet, int length, quint32 seed)
{
    QRandomGenerator random(seed);
    QString text(length, QChar());
    for (QChar& c : text)
        c = alphabet.at(random.bounded(int(alphabet.size())));
    return text;
}

QString Prose(int words, quint32 seed)
{
    QRandomGenerator random(seed);
    QStringList text;
    for (int i = 0; i < words; ++i)
        text << Drawn(QStringLiteral("абвгдежзиклмнопрст"), random.bounded(1, 12), seed + 1 + i);
    return text.join(QLatin1Char(' '));
}

// Where each line of the pane's only paragraph starts, after it was laid out for painting.
QList<int> PaneLineStarts(ui::TextPane& pane)
{
    const QTextBlock block = pane.document()->firstBlock();
    pane.document()->documentLayout()->blockBoundingRect(block);
    QList<int> starts;
    for (int i = 0; i < block.layout()->lineCount(); ++i)
        starts << block.layout()->lineAt(i).textStart();
    return starts;
}

// The same paragraph laid out by Qt alone, line by line at the same width.
QList<int> QtLineStarts(ui::TextPane& pane)
{
    const QTextBlock block = pane.document()->firstBlock();
    const QTextLine first = block.layout()->lineAt(0);
    QTextLayout layout(block.text(), pane.document()->defaultFont());
    QTextOption option = pane.document()->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<int> starts;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(first.width());
        starts << line.textStart();
    }
    layout.endLayout();
    return starts;
}

// Paragraphs of prose, each of `words` words, joined by `separator`.
QString Article(int paragraphs, int words, const QString& separator, quint32 seed)
{
    QStringList text;
    for (int i = 0; i < paragraphs; ++i)
        text << Prose(words, seed + quint32(i) * 101);
    return text.join(separator);
}

// A text, and the pane, layout and font size it is pasted in.
void AddPlaceColumns()
{
    QTest::addColumn<QString>("paneName");
    QTest::addColumn<bool>("auxiliaryShown");
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<QString>("text");
}

// Whether the pane's last line shows whole in its window, which scrolls where the screen is
// too small for it.
bool EndShownInWindow(const ui::TextPane& pane)
{
    const auto* area = pane.window()->findChild<QScrollArea*>();
    QTextCursor end(pane.document());
    end.movePosition(QTextCursor::End);
    const QRect line = pane.cursorRect(end);
    return area->viewport()->rect().contains(
        QRect(pane.viewport()->mapTo(area->viewport(), line.topLeft()), line.size()));
}

using Run = std::pair<int, int>;

// The runs of a paragraph of the pane laid out without font merging, as its layout has them.
QList<Run> UnmergedRuns(ui::TextPane& pane, int paragraph = 0)
{
    QCoreApplication::processEvents();
    QList<Run> runs;
    const QTextBlock block = pane.document()->findBlockByNumber(paragraph);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.fontStyleStrategy() & QFont::NoFontMerging)
            runs << Run(range.start, range.length);
    }
    return runs;
}

// Each glyph drawn for `layout`'s first line: the font it comes from, its index and position.
QStringList Glyphs(const QTextLayout& layout)
{
    QStringList glyphs;
    const QTextLine line = layout.lineAt(0);
    for (const QGlyphRun& run : line.glyphRuns()) {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            glyphs << QStringLiteral("%1 #%2 at %3")
                          .arg(run.rawFont().familyName().toLower())
                          .arg(indexes[i])
                          .arg(positions[i].x() - line.x());
        }
    }
    return glyphs;
}

// Announces text and yields none, as a clipboard or a drag does whose owner died, hung or failed
// to hand the text over.
class TextThatNeverCame : public QMimeData
{
public:
    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& type) const override { return formats().contains(type); }

protected:
    QVariant retrieveData(const QString&, QMetaType) const override { return {}; }
};

QMimeData* Bringing(const QString& text)
{
    if (text.isNull())
        return new TextThatNeverCame;
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

// A drag from another program that enters the pane, moves to the start of its text and drops.
void DropAtStart(ui::TextPane& pane, const QMimeData& data)
{
    QTextCursor start(pane.document());
    const QPoint point = pane.cursorRect(start).center();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane.viewport(), &enter);
    QDragMoveEvent move(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane.viewport(), &move);
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane.viewport(), &drop);
}

} // namespace

void tst_TextPane::controlTabTypesATab()
{
    ui::TextPane* newText = typingAtTheEnd(QStringLiteral("ab"));
    QVERIFY(newText);
    QTest::keyClick(newText, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(newText->plainText(), QStringLiteral("ab\t"));
    QCOMPARE(QApplication::focusWidget(), newText);
}

void tst_TextPane::lineBreakIsOneStepToUndo_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("enter on the empty last line")
        << QStringLiteral("ab cd\r\nef\r\n") << Qt::KeyboardModifiers();
    QTest::newRow("shift+enter on the empty last line")
        << QStringLiteral("ab cd\r\nef\r\n") << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("enter after the last word")
        << QStringLiteral("ab cd\r\nef") << Qt::KeyboardModifiers();
}

// Two line breaks after a paste, then Ctrl+Z three times: each undo takes one, the last the paste.
void tst_TextPane::lineBreakIsOneStepToUndo()
{
    QFETCH(QString, pasted);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    ui::TextPane* newText = typingAtTheEnd(QString());
    QVERIFY(newText);
    uitest::Paste(newText, pasted);
    QTest::keyClick(newText, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(newText, Qt::Key_Return, modifiers);
    QTest::keyClick(newText, Qt::Key_Return, modifiers);
    QStringList undone;
    for (int step = 0; step < 3; ++step) {
        QTest::keyClick(newText, Qt::Key_Z, Qt::ControlModifier);
        undone << newText->plainText();
    }
    QCOMPARE(undone, (QStringList{pasted + QStringLiteral("\r\n"), pasted, QString()}));
}

// Shift+F10 opens the pane's context menu at the cursor, its own commands in it, as the Menu key
// does.
void tst_TextPane::shiftF10OpensTheContextMenu()
{
    ui::TextPane* newText = typingAtTheEnd(QStringLiteral("ab cd"));
    QVERIFY(newText);
    QStringList commands;
    QPoint at;
    QTimer::singleShot(0, [&commands, &at] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions())
                commands << action->text();
            at = menu->pos();
            menu->close();
        }
    });
    QTest::keyClick(newText, Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(commands.size() > newText->actions().size());
    for (const QAction* action : newText->actions())
        QVERIFY2(commands.contains(action->text()), qPrintable(action->text()));
    const QPoint cursor = newText->viewport()->mapToGlobal(newText->cursorRect().center());
    QVERIFY2((at - cursor).manhattanLength() < 40, qPrintable(uitest::Describe(QRect(at, cursor))));
}

void tst_TextPane::plainTextKeepsTheCharacters()
{
    const QString text = QStringLiteral("a\u00A0b\tc\r\nd\re\nf \U0001F600");
    ui::TextPane* newText = newTextPane();
    newText->replacePlainText(text);
    QCOMPARE(newText->plainText(), QStringLiteral("a\u00A0b\tc\r\nd\r\ne\r\nf \U0001F600"));
    QCOMPARE(newText->leadingPlainText(8), QStringLiteral("a\u00A0b\tc\r\nd"));
    QCOMPARE(newText->leadingPlainText(7), QStringLiteral("a\u00A0b\tc\r\n"));
    QCOMPARE(newText->leadingPlainText(6), QStringLiteral("a\u00A0b\tc\r"));
}

void tst_TextPane::copyingGivesLineFeeds_data()
{
    QTest::addColumn<QString>("typed");   // a line feed presses Enter
    QTest::addColumn<bool>("shiftEnter"); // Enter with Shift: a line break inside a paragraph
    QTest::addColumn<QString>("pasted");  // as plain text beside bold 40 pt HTML
    QTest::addColumn<QString>("read");    // the pane's plain text
    QTest::addColumn<QString>("copied");  // from the third character to the end
    QTest::addColumn<bool>("cut");

    const auto row = [](const char* name, const QString& typed, bool shiftEnter,
                        const QString& pasted, bool cut) {
        QTest::newRow(name) << typed << shiftEnter << pasted
                            << QStringLiteral("один\u00A0два\r\nтри")
                            << QStringLiteral("ин\u00A0два\nтри") << cut;
    };
    const QString typed = QStringLiteral("один\u00A0два\nтри");
    row("typedEnter", typed, false, QString(), false);
    row("typedShiftEnter", typed, true, QString(), false);
    row("pastedCrLf", QString(), false, QStringLiteral("один\u00A0два\r\nтри"), false);
    row("pastedCr", QString(), false, QStringLiteral("один\u00A0два\rтри"), false);
    row("cut", QString(), false, QStringLiteral("один\u00A0два\r\nтри"), true);
    QTest::newRow("emptyLineBetween")
        << QString() << false << QStringLiteral("один\n\nтри") << QStringLiteral("один\r\n\r\nтри")
        << QStringLiteral("ин\n\nтри") << false;
}

// A pane reads its line breaks as CR LF, but what it puts on the clipboard has the platform's
// LF; pasted back, the text reads as before. Pasted text is the clipboard's plain text, in the
// pane's font.
void tst_TextPane::copyingGivesLineFeeds()
{
    QFETCH(QString, typed);
    QFETCH(bool, shiftEnter);
    QFETCH(QString, pasted);
    QFETCH(QString, read);
    QFETCH(QString, copied);
    QFETCH(bool, cut);
    ui::TextPane* newText = newTextPane();
    newText->replacePlainText(QString());
    newText->setFocus();
    if (!pasted.isNull()) {
        auto* data = new QMimeData;
        data->setText(pasted);
        data->setHtml(QStringLiteral("<b style='font-size:40pt'>один два</b>"));
        QApplication::clipboard()->setMimeData(data);
        QTest::keyClick(newText, Qt::Key_V, Qt::ControlModifier);
    }
    const QStringList lines = typed.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(newText, Qt::Key_Return,
                            shiftEnter ? Qt::ShiftModifier : Qt::NoModifier);
        uitest::TypeText(newText, lines[i]);
    }
    QCOMPARE(newText->plainText(), read);
    QCOMPARE(ui::ToQString(newText->plainTextForAnalysis()), read);
    // Every line break ends a paragraph, however it came.
    QVERIFY(!newText->document()->toRawText().contains(QChar::LineSeparator));
    // A size change reaches all of the text.
    newText->setFontSize(11);
    QTextCursor cursor(newText->document());
    cursor.setPosition(2);
    QCOMPARE(QFontInfo(cursor.charFormat().font()).pointSizeF(),
             QFontInfo(newText->font()).pointSizeF());

    QTest::keyClick(newText, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(newText, Qt::Key_Right);
    QTest::keyClick(newText, Qt::Key_Right);
    QTest::keyClick(newText, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(newText, cut ? Qt::Key_X : Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), copied);
    QCOMPARE(newText->plainText(), cut ? read.left(2) : read);

    ui::TextPane* source = sourcePane();
    source->setFocus();
    QTest::keyClick(source, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(source, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(source->plainText(), read.mid(2));
}

void tst_TextPane::linesAreQtsOwn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fontChangedAfter");
    const auto row = [](const char* name, const QString& text, bool fontChangedAfter = false) {
        QTest::newRow(name) << text << fontChangedAfter;
    };
    const QString run = Drawn(QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789"), 5000, 7);
    row("prose", Prose(1500, 1));
    row("runWithoutABoundary", run);
    row("proseRunProse", Prose(300, 2) + QLatin1Char(' ') + run + QLatin1Char(' ') + Prose(300, 3));
    row("runJoinedToAWord", Prose(300, 4) + run + QStringLiteral(" ") + Prose(50, 5));
    row("runsAndSpaces", run + QStringLiteral("   ") + run + QStringLiteral(" x"));
    row("punctuationOnly", Drawn(QStringLiteral(".,;:!?\u2026"), 4000, 9));
    row("ideographs", Drawn(QStringLiteral("\u4E00\u4E8C\u4E09\u56DB\u4E94"), 4000, 11));
    // A paragraph this long keeps what it shaped: a new font must not be met with the old glyphs.
    row("longParagraphThenANewFont", Prose(11000, 6), true);
}

// Prose wraps at word boundaries as Qt wraps it, and a run without one breaks where Qt's
// fallback breaks it: the pane shows exactly the lines Qt would.
void tst_TextPane::linesAreQtsOwn()
{
    QFETCH(QString, text);
    QFETCH(bool, fontChangedAfter);
    ui::TextPane pane;
    pane.setFont(ui::NewTextPaneFont());
    pane.resize(ui::TwipsToPixels(12615), ui::TwipsToPixels(4335));
    pane.show();
    pane.replacePlainText(text);
    QList<int> starts = PaneLineStarts(pane);
    if (fontChangedAfter) {
        QVERIFY(text.size() > 1 << 16);
        QFont larger = pane.font();
        larger.setPointSize(larger.pointSize() + 6);
        pane.setFont(larger);
        const QList<int> before = std::exchange(starts, PaneLineStarts(pane));
        QVERIFY(starts.size() > before.size());
    }
    QVERIFY(starts.size() > 10);
    QCOMPARE(starts, QtLineStarts(pane));
}

void tst_TextPane::layoutWorkGrowsWithTheText_data()
{
    QTest::addColumn<QString>("alphabet");
    QTest::newRow("lettersAndDigits") << QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    QTest::newRow("cyrillic") << QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    QTest::newRow("punctuation") << QStringLiteral(".,;:!?\u2026");
}

// Laying out a paragraph without a word boundary scans each character a bounded number of
// times, at 64 K as at 256 K characters, pasted or typed into.
void tst_TextPane::layoutWorkGrowsWithTheText()
{
    QFETCH(QString, alphabet);
    ui::TextPane pane;
    pane.resize(ui::TwipsToPixels(12615), ui::TwipsToPixels(4335));
    pane.show();
    for (const int length : {64 * 1024, 256 * 1024}) {
        const ui::LineBreakWork before = pane.lineBreakWork();
        pane.replacePlainText(Drawn(alphabet, length, quint32(length)));
        PaneLineStarts(pane);
        const ui::LineBreakWork pasted = pane.lineBreakWork();
        QVERIFY2(pasted.charactersScanned - before.charactersScanned <= 2 * quint64(length),
                 qPrintable(QString::number(pasted.charactersScanned)));
        // Nearly every line lies in the run, where a line is broken anywhere at once.
        const int lines = pane.document()->firstBlock().layout()->lineCount();
        QVERIFY(pasted.linesInLongRuns - before.linesInLongRuns >= quint64(lines) * 9 / 10);

        pane.moveCursor(QTextCursor::End);
        QTest::keyClick(&pane, Qt::Key_A);
        PaneLineStarts(pane);
        const ui::LineBreakWork typed = pane.lineBreakWork();
        QVERIFY(typed.charactersScanned - pasted.charactersScanned <= 2 * quint64(length));
        QVERIFY(typed.linesInLongRuns - pasted.linesInLongRuns >= quint64(lines) * 9 / 10);
        QCOMPARE(typed.paragraphs - pasted.paragraphs, quint64(1));
    }
}

// U+0378 and U+2FFF0 are unassigned: no font draws them. Every other character of these rows is
// drawn by the fonts the program depends on.
void tst_TextPane::missingGlyphsAreMarked_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<Run>>("runs");
    QTest::newRow("drawn") << QStringLiteral("Статья, article 2026.") << QList<Run>{};
    QTest::newRow("between letters") << QStringLiteral("аб\u0378\u0378вг") << QList<Run>{{2, 2}};
    QTest::newRow("whole text") << QStringLiteral("\u0378\u0378\u0378") << QList<Run>{{0, 3}};
    QTest::newRow("beyond the first plane")
        << QString::fromUcs4(U"x\U0002FFF0\U0002FFF0y") << QList<Run>{{1, 4}};
    // Spaces, marks and format characters are Qt's to place: they end a run.
    QTest::newRow("space") << QStringLiteral("\u0378 \u0378") << QList<Run>{{0, 1}, {2, 1}};
    QTest::newRow("tab") << QStringLiteral("\u0378\t\u0378") << QList<Run>{{0, 1}, {2, 1}};
    QTest::newRow("combining mark") << QStringLiteral("\u0378\u0301") << QList<Run>{{0, 1}};
    QTest::newRow("zero-width joiner")
        << QStringLiteral("\u0378\u200d\u0378") << QList<Run>{{0, 1}, {2, 1}};
    QTest::newRow("lone surrogate") << QString(QChar(0xd800)) << QList<Run>{};
}

// Marking changes no character, adds nothing to undo and is no change the window counts; the
// runs move with the text typed into it, and stay through a new font size.
void tst_TextPane::missingGlyphsAreMarked()
{
    QFETCH(QString, text);
    QFETCH(QList<Run>, runs);
    ui::TextPane pane;
    QSignalSpy changes(&pane, &ui::TextPane::charactersChanged);
    pane.replacePlainText(text);
    const qsizetype replaced = changes.count();
    const quint64 revision = pane.textRevision();
    QCOMPARE(UnmergedRuns(pane), runs);
    QCOMPARE(changes.count(), replaced);

    pane.moveCursor(QTextCursor::Start);
    QTest::keyClick(&pane, Qt::Key_A);
    for (Run& run : runs)
        ++run.first;
    QCOMPARE(UnmergedRuns(pane), runs);
    pane.setFontSize(pane.fontSize() * 2);
    QCOMPARE(UnmergedRuns(pane), runs);
    QTest::keyClick(&pane, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(pane.plainText(), text);
    QVERIFY(!pane.document()->isUndoAvailable());
    QCOMPARE(changes.count(), replaced + 2);
    QCOMPARE(pane.textRevision(), revision + 2);
}

void tst_TextPane::markedTextLooksAsBefore_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QFont>("font");
    const std::pair<const char*, QString> texts[] = {
        {"unassigned", QStringLiteral("аб\u0378\u0378вг \u0378")},
        {"ideographs", QStringLiteral("статья 汉字测试文章 статья")},
        {"beyond the first plane", QString::fromUcs4(U"x\U0002FFF0\U0002FFF0y")},
    };
    // The panes' design font, which only a substitute stands for, and an installed family.
    const std::pair<const char*, QFont> fonts[] = {
        {"design font", ui::NewTextPaneFont()},
        {"installed family", QFont(QStringLiteral("DejaVu Serif"), 12)},
    };
    for (const auto& [fontName, font] : fonts) {
        for (const auto& [textName, text] : texts)
            QTest::addRow("%s, %s", textName, fontName) << text << font;
    }
}

// Whether marked or not, each character is drawn with the glyph and at the place that Qt alone
// gives it in the pane's font: a box where no font has it.
void tst_TextPane::markedTextLooksAsBefore()
{
    QFETCH(QString, text);
    QFETCH(QFont, font);
    ui::TextPane pane;
    pane.resize(ui::TwipsToPixels(12615), ui::TwipsToPixels(4335));
    pane.replacePlainText(text);
    // A font set after the text is taken on by the runs already marked.
    pane.setFont(font);
    UnmergedRuns(pane);
    const QTextBlock block = pane.document()->firstBlock();
    pane.document()->documentLayout()->blockBoundingRect(block);
    QCOMPARE(block.layout()->lineCount(), 1);

    QTextLayout alone(text, pane.document()->defaultFont());
    alone.beginLayout();
    alone.createLine();
    alone.endLayout();
    QCOMPARE(Glyphs(*block.layout()), Glyphs(alone));
    QCOMPARE(block.layout()->lineAt(0).naturalTextWidth(), alone.lineAt(0).naturalTextWidth());
}

// Text of several paragraphs is laid out as it comes into view, unmarked; a paragraph is marked
// when it is typed into, and only it.
void tst_TextPane::paragraphsAreMarkedWhenTypedInto()
{
    ui::TextPane pane;
    pane.replacePlainText(QStringLiteral("а\u0378б\r\n\u0378\u0378"));
    QCOMPARE(UnmergedRuns(pane, 0), QList<Run>{});
    QCOMPARE(UnmergedRuns(pane, 1), QList<Run>{});
    pane.moveCursor(QTextCursor::End);
    QTest::keyClick(&pane, Qt::Key_X);
    QCOMPARE(UnmergedRuns(pane, 0), QList<Run>{});
    QCOMPARE(UnmergedRuns(pane, 1), (QList<Run>{{0, 2}}));
    // Pasted within a paragraph, text is marked at once.
    pane.moveCursor(QTextCursor::Start);
    pane.insertPlainText(QStringLiteral("\u0378\u0378\u0378"));
    QCOMPARE(UnmergedRuns(pane, 0), (QList<Run>{{0, 3}, {4, 1}}));
}

void tst_TextPane::endOfTextIsReachable_data()
{
    AddPlaceColumns();
    const QString lineBreak = QStringLiteral("\r\n");
    QStringList unbroken;
    for (int i = 0; i < 20; ++i)
        unbroken << Drawn(QStringLiteral("abcdefghijklmnopqrstuvwxyz"), 300, quint32(i));
    const std::pair<const char*, QString> shapes[] = {
        {"few long paragraphs", Article(3, 60, lineBreak, 1)},
        {"many paragraphs", Article(61, 30, lineBreak, 2)},
        {"one-line paragraphs", Article(400, 2, lineBreak, 3)},
        {"blank lines between", Article(16, 40, lineBreak + lineBreak, 4)},
        {"one paragraph", Prose(1500, 5)},
        {"lines without spaces", unbroken.join(lineBreak)},
        {"a paragraph of 100K", Prose(16000, 16)},
        {"100K without spaces", Drawn(QStringLiteral("abcdefghijklmnopqrstuvwxyz"), 100000, 17)},
        {"mixed", Article(5, 80, lineBreak, 6) + lineBreak + lineBreak + unbroken.join(lineBreak) +
                      lineBreak + Article(50, 3, lineBreak, 7) + lineBreak + lineBreak +
                      Prose(400, 8)},
    };
    // Each pane, in the split layout and, where it shows there, the wide one.
    const std::pair<const char*, bool> places[] = {{"RichTextBox1", true},
                                                   {"RichTextBox1", false},
                                                   {"RichTextBox2", true},
                                                   {"RichTextBox2", false},
                                                   {"RichTextBox3", true}};
    // The design's size and the ends of the options window's sliders.
    const int sizes[] = {18, 10, 21};
    int row = 0;
    for (const auto& [shape, text] : shapes) {
        for (const auto& [pane, auxiliaryShown] : places) {
            const int size = sizes[row++ % 3];
            QTest::addRow("%s, %s, %s, %d pt", shape, pane, auxiliaryShown ? "split" : "wide", size)
                << QString::fromLatin1(pane) << auxiliaryShown << size << text;
        }
    }
}

void tst_TextPane::megabyteParagraphsAreReachable_data()
{
    AddPlaceColumns();
    // Qt's own view of a line without a break opportunity looks for one to the paragraph's end
    // at every line: of 8 MB it takes minutes to lay out.
    QTest::addColumn<bool>("againstQtsOwn");
    // Each in one place, for the test's time; 1 MB is 512K characters.
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    QTest::newRow("a paragraph of 1 MB, RichTextBox1, split, 18 pt")
        << QStringLiteral("RichTextBox1") << true << 18 << Prose(75000, 18) << true;
    QTest::newRow("1 MB without spaces, RichTextBox2, wide, 10 pt")
        << QStringLiteral("RichTextBox2") << false << 10 << Drawn(letters, 1 << 19, 19) << true;
    QTest::newRow("a paragraph of 8 MB, RichTextBox3, split, 21 pt")
        << QStringLiteral("RichTextBox3") << true << 21 << Prose(600000, 20) << true;
    QTest::newRow("8 MB without spaces, RichTextBox1, wide, 18 pt")
        << QStringLiteral("RichTextBox1") << false << 18 << Drawn(letters, 1 << 22, 21) << false;
}

// Whatever was pasted, in every pane and layout of the main window: the pasted end shows, and
// Ctrl+End, the scroll bar at its end, PageDown and the wheel all bring the last line into view.
// Once every paragraph is laid out, the scroll range is that of Qt's own view of the text, as
// the pane holds it: a paragraph of more than 64K characters in blocks.
void tst_TextPane::endOfTextIsReachable()
{
    checkEndIsReachable(0, true);
}

// The same in paragraphs of megabytes, where PageDown and the wheel start some pages above the
// end: a walk from the top through 8 MB takes minutes.
void tst_TextPane::megabyteParagraphsAreReachable()
{
    QFETCH(bool, againstQtsOwn);
    checkEndIsReachable(30, againstQtsOwn);
}

void tst_TextPane::checkEndIsReachable(int walkedPages, bool againstQtsOwn)
{
    QFETCH(QString, paneName);
    QFETCH(bool, auxiliaryShown);
    QFETCH(int, fontSize);
    QFETCH(QString, text);
    showAuxiliaryPane(auxiliaryShown);
    auto* pane = control<ui::TextPane>(paneName.toLatin1().constData());
    mainWindow()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
    pane->setFocus();
    pane->setFontSize(fontSize);
    uitest::Paste(pane, text);
    QVERIFY(pane->viewport()->rect().contains(pane->cursorRect()));
    QCOMPARE(uitest::WaysThatMissTheEnd(
                 pane, [pane] { return uitest::EndInView(*pane); }, walkedPages),
             QStringList());
    // Where the screen is too small for the window, the window scrolls to the cursor too.
    QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QVERIFY(EndShownInWindow(*pane));
    QTRY_VERIFY(pane->isLaidOut());
    if (!againstQtsOwn)
        return;
    const QString blocks = pane->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n');
    QCOMPARE(uitest::RangeOf(*pane), uitest::QtsOwnRange(*pane, blocks));
}

void tst_TextPane::placeSurvivesANewWidth_data()
{
    QTest::addColumn<bool>("auxiliaryShown"); // before the switch
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("atTheEnd"); // else two thirds down
    const QString paragraphs = Article(200, 40, QStringLiteral("\r\n"), 3);
    const QString paragraph = Prose(4000, 9);
    QTest::newRow("paragraphs, the second source hidden") << true << paragraphs << false;
    QTest::newRow("paragraphs, the second source shown") << false << paragraphs << false;
    QTest::newRow("one paragraph, the second source hidden") << true << paragraph << false;
    QTest::newRow("one paragraph, the second source shown") << false << paragraph << false;
    QTest::newRow("at the end, the second source hidden") << true << paragraphs << true;
    QTest::newRow("at the end, the second source shown") << false << paragraphs << true;
    // One line each in the wide pane, two in the narrow one.
    QTest::newRow("short paragraphs, the second source shown")
        << false << Article(300, 12, QStringLiteral("\r\n"), 4) << false;
}

// The source pane narrows and widens as the second source shows and hides: the line that was at
// the top of it stays there, or the last line at the bottom of a pane scrolled to its end, as
// soon as the pane has its new width and once it is laid out anew, in the scroll range of Qt's
// own view at that width.
void tst_TextPane::placeSurvivesANewWidth()
{
    QFETCH(bool, auxiliaryShown);
    QFETCH(QString, text);
    QFETCH(bool, atTheEnd);
    showAuxiliaryPane(auxiliaryShown);
    auto* pane = control<ui::TextPane>("RichTextBox2");
    pane->replacePlainText(text);
    QTRY_VERIFY(pane->isLaidOut());
    QScrollBar* bar = pane->verticalScrollBar();
    bar->setValue(atTheEnd ? bar->maximum() : bar->maximum() * 2 / 3);
    const auto topLine = [pane] {
        QCoreApplication::processEvents();
        QTextCursor cursor = pane->cursorForPosition(QPoint(1, 1));
        cursor.movePosition(QTextCursor::StartOfLine);
        const int start = cursor.position();
        cursor.movePosition(QTextCursor::EndOfLine);
        return std::pair(start, cursor.position());
    };
    const std::pair<int, int> first = topLine();
    const int top = first.first;
    const int width = pane->width();
    showAuxiliaryPane(!auxiliaryShown);
    QVERIFY(pane->width() != width);
    const auto inPlace = [top, atTheEnd, bar, &topLine] {
        const std::pair<int, int> line = topLine();
        return atTheEnd ? bar->value() == bar->maximum() : line.first <= top && top <= line.second;
    };
    QVERIFY2(inPlace(), qPrintable(QString::number(topLine().first)));
    QTRY_VERIFY(pane->isLaidOut());
    QVERIFY2(inPlace(), qPrintable(QString::number(topLine().first)));
    QCOMPARE(uitest::RangeOf(*pane), uitest::QtsOwnRange(*pane, ui::ToToolkitLineBreaks(text)));
    // Switched back, the very line that was at the top, however often.
    for (int i = 0; i < 3; ++i) {
        showAuxiliaryPane(auxiliaryShown);
        QTRY_VERIFY(pane->isLaidOut());
        QCOMPARE(topLine(), first);
        showAuxiliaryPane(!auxiliaryShown);
    }
}

void tst_TextPane::scrollRangeFollowsEdits_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {1u, 2u, 3u, 4u, 5u})
        QTest::addRow("seed %u", seed) << seed;
}

// Random edits, widths and font sizes: after each, Ctrl+End shows the last line, and once the
// pane has laid everything out its scroll range is Qt's own.
void tst_TextPane::scrollRangeFollowsEdits()
{
    QFETCH(quint32, seed);
    uitest::RandomEdits edits(seed);
    ui::TextPane pane;
    pane.resize(ui::TwipsToPixels(12615), ui::TwipsToPixels(4335));
    pane.show();
    for (int step = 0; step < 40; ++step) {
        QString change;
        switch (edits.texts().number(0, 5)) {
        case 0:
            pane.resize(ui::TwipsToPixels(edits.texts().number(0, 1) ? 12615 : 6255),
                        pane.height());
            change = QStringLiteral("a new width");
            break;
        case 1:
            pane.setFontSize(edits.texts().number(10, 21));
            change = QStringLiteral("a new font size");
            break;
        default:
            change = edits.editOnce(&pane);
            break;
        }
        QTest::keyClick(&pane, Qt::Key_End, Qt::ControlModifier);
        QVERIFY2(uitest::EndInView(pane),
                 qPrintable(QStringLiteral("step %1, %2").arg(step).arg(change)));
        if (step % 4 == 3) {
            QTRY_VERIFY(pane.isLaidOut());
            QCOMPARE(uitest::RangeOf(pane),
                     uitest::QtsOwnRange(pane, ui::ToToolkitLineBreaks(pane.plainText())));
        }
    }
}

void tst_TextPane::pasteOrDropInsertsWhatItBrings_data()
{
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<QString>("brought"); // null: text announced, none handed over
    QTest::addColumn<QString>("result");
    QTest::addColumn<qint64>("memoryLeft"); // bytes of address space; 0: as the system has it
    const QString unchanged = QStringLiteral("один два три");
    const auto row = [](const char* name, bool dropped, const QString& brought,
                        const QString& result, qint64 memoryLeft = 0) {
        QTest::newRow(name) << dropped << brought << result << memoryLeft;
    };
    row("paste", false, QStringLiteral("ещё\nи"), QStringLiteral("один ещё\r\nи три"));
    row("paste of nothing", false, QString(), unchanged);
    row("drop", true, QStringLiteral("ещё "), QStringLiteral("ещё один два три"));
    row("drop of nothing", true, QString(), unchanged);
    // A paragraph of 8 million characters takes hundreds of megabytes laid out.
    const QString paragraph(8 << 20, QChar(u'я'));
    row("paste beyond the memory left", false, paragraph, unchanged, qint64{128} * 1024 * 1024);
    row("drop beyond the memory left", true, paragraph, unchanged, qint64{128} * 1024 * 1024);
    // One of 4 million with spaces is held cut into blocks, each shaped on its own: it fits.
    const QString prose = Prose(700000, 18);
    row("paste of a long paragraph that fits", false, prose,
        QStringLiteral("один ") + prose + QStringLiteral(" три"), qint64{200} * 1024 * 1024);
}

// Where nothing came, or too much to hold, the selected word is still there and still selected,
// nothing is to undo and the window hears of no change; too much, and the window is told.
void tst_TextPane::pasteOrDropInsertsWhatItBrings()
{
    QFETCH(bool, dropped);
    QFETCH(QString, brought);
    QFETCH(QString, result);
    QFETCH(qint64, memoryLeft);
    const QString unchanged = QStringLiteral("один два три");
    ui::TextPane pane;
    pane.resize(400, 200);
    pane.show();
    pane.replacePlainText(unchanged);
    QTextCursor selection(pane.document());
    selection.setPosition(5);
    selection.setPosition(8, QTextCursor::KeepAnchor);
    pane.setTextCursor(selection);
    pane.setFocus();
    QSignalSpy changes(&pane, &ui::TextPane::charactersChanged);
    QSignalSpy refusals(&pane, &ui::TextPane::insertRefused);

    if (dropped) {
        const std::unique_ptr<QMimeData> data(Bringing(brought));
        const testsupport::AddressSpaceLeft left(memoryLeft);
        QCOMPARE(left.isBounded(), memoryLeft > 0);
        DropAtStart(pane, *data);
    } else {
        QApplication::clipboard()->setMimeData(Bringing(brought));
        const testsupport::AddressSpaceLeft left(memoryLeft);
        QCOMPARE(left.isBounded(), memoryLeft > 0);
        QTest::keyClick(&pane, Qt::Key_V, Qt::ControlModifier);
    }

    const bool inserted = result != unchanged;
    QCOMPARE(pane.plainText(), result);
    QCOMPARE(changes.isEmpty(), !inserted);
    QCOMPARE(pane.document()->isUndoAvailable(), inserted);
    QCOMPARE(refusals.count(), inserted ? 0 : memoryLeft > 0 ? 1 : 0);
    if (!inserted)
        QCOMPARE(pane.textCursor().selectedText(), QStringLiteral("два"));
}

namespace {

// What is wrong with how `pane` holds `expected`, or nothing: its plain text by every reading,
// a paragraph of up to 64K characters in one block and a longer one cut after spaces, the
// positions mapped both ways across the cuts, and the clipboard's copy of all of it.
QString HoldingAgainst(ui::TextPane& pane, const QString& expected)
{
    const QString plain = pane.plainText();
    if (plain != expected) {
        const auto at = std::ranges::mismatch(plain, expected).in1 - plain.begin();
        return QStringLiteral("plain text of %1 differs at %2: %3")
            .arg(plain.size())
            .arg(at)
            .arg(plain.mid(at - 5, 10));
    }
    if (ui::ToQString(pane.plainTextForAnalysis()) != expected ||
        pane.plainTextLength() != std::size_t(expected.size()) ||
        pane.leadingPlainText(20000) != expected.left(20000))
        return QStringLiteral("another reading differs");
    const QStringList paragraphs = expected.split(QStringLiteral("\r\n"));
    if (pane.paragraphCount() != paragraphs.size())
        return QStringLiteral("%1 paragraphs").arg(pane.paragraphCount());
    QTextBlock block = pane.document()->begin();
    for (const QString& paragraph : paragraphs) {
        int blocks = 0;
        int held = 0;
        do {
            const QString text = block.text();
            if (text.size() > 1 << 16 && text.contains(u' '))
                return QStringLiteral("a block of %1 left uncut").arg(text.size());
            if (pane.documentPosition(pane.plainPosition(block.position())) != block.position() ||
                pane.plainPosition(block.position()) !=
                    std::size_t(pane.plainText(0, block.position()).size()))
                return QStringLiteral("block %1 mapped elsewhere").arg(block.blockNumber());
            held += int(text.size()) + (blocks++ > 0 ? 1 : 0);
            block = block.next();
        } while (held < paragraph.size());
        if (paragraph.size() <= 1 << 16 && blocks != 1)
            return QStringLiteral("a paragraph of %1 cut").arg(paragraph.size());
    }
    QAccessibleTextInterface* read = QAccessible::queryAccessibleInterface(&pane)->textInterface();
    if (read->text(0, read->characterCount()) !=
        QString(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
        return QStringLiteral("assistive technology reads it otherwise");
    pane.selectAll();
    pane.copy();
    if (!expected.isEmpty() &&
        QApplication::clipboard()->text() !=
            QString(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
        return QStringLiteral("the copy differs");
    return {};
}

} // namespace

void tst_TextPane::longParagraphsAreCutAfterASpace_data()
{
    QTest::addColumn<QString>("initial"); // replaced, not pasted
    QTest::addColumn<QByteArray>("road");
    QTest::addColumn<QString>("brought"); // pasted or typed
    QTest::addColumn<int>("at");          // where, in the plain text
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("viewStays");        // no cut or join in view moves its lines
    const QString paragraph = Prose(20000, 12); // about 130K characters
    const QString limit = Prose(12000, 13).left(1 << 16);
    const QString runs = Drawn(QStringLiteral("abc"), 100000, 14);
    const auto row = [](const char* name, const QString& initial, const char* road,
                        const QString& brought, qsizetype at, const QString& expected,
                        bool viewStays = false) {
        QTest::newRow(name) << initial << QByteArray(road) << brought << int(at) << expected
                            << viewStays;
    };
    const auto inserted = [](QString text, qsizetype at, const QString& brought) {
        return text.insert(at, brought);
    };
    row("pasted", QString(), "paste", paragraph, 0, paragraph);
    row("pasted, a megabyte", QString(), "paste", Prose(160000, 15), 0, Prose(160000, 15));
    row("pasted, 64K", QString(), "paste", limit, 0, limit);
    row("pasted, 64K and a word", QString(), "paste", limit + QStringLiteral(" да"), 0,
        limit + QStringLiteral(" да"));
    row("pasted, without spaces", QString(), "paste", runs, 0, runs);
    row("pasted between paragraphs", QStringLiteral("один\r\nдва"), "paste", paragraph, 6,
        QStringLiteral("один\r\n") + paragraph + QStringLiteral("два"));
    row("replaced", paragraph, "none", QString(), 0, paragraph);
    row("typed past 64K", limit.left(limit.size() - 2), "type", QStringLiteral(" дом"),
        limit.size() - 2, limit.left(limit.size() - 2) + QStringLiteral(" дом"));
    row("deleted back to 64K", limit + QStringLiteral(" дом"), "backspace", QString(4, u'x'),
        limit.size() + 4, limit);
    row("a line break typed into a cut block", paragraph, "type", QStringLiteral("\n"), 40000,
        inserted(paragraph, 40000, QStringLiteral("\r\n")), true);
    row("lines pasted into a cut block", paragraph, "paste", QStringLiteral("ещё\nи"), 40000,
        inserted(paragraph, 40000, QStringLiteral("ещё\r\nи")));
    // Qt leaves the first block the format of the last one it joined when all before it goes.
    row("lines pasted over it all", paragraph, "select all, paste", QStringLiteral("ещё\nи"),
        paragraph.size(), QStringLiteral("ещё\r\nи"));
    row("lines pasted over its start", paragraph, "select to the start, paste",
        QStringLiteral("ещё\nи"), 40000, QStringLiteral("ещё\r\nи") + paragraph.mid(40000));
    const qsizetype cut = paragraph.lastIndexOf(u' ', 1 << 14);
    row("the space at a cut deleted", paragraph, "backspace", QStringLiteral("x"), cut + 1,
        QString(paragraph).remove(cut, 1));
    const QString megabyte = Prose(160000, 15);
    row("a line break typed into a megabyte", megabyte, "type", QStringLiteral("\n"), 500000,
        inserted(megabyte, 500000, QStringLiteral("\r\n")), true);
    row("a line break typed near the start", paragraph, "type", QStringLiteral("\n"), 3000,
        inserted(paragraph, 3000, QStringLiteral("\r\n")), true);
    row("typed into a run without spaces", runs, "type", QStringLiteral("abcd"), 50000,
        inserted(runs, 50000, QStringLiteral("abcd")));
    const QString half = paragraph.left(paragraph.size() / 2);
    row("two paragraphs joined", half + QStringLiteral("\r\n") + half, "backspace",
        QStringLiteral("x"), half.size() + 2, half + half, true);
    row("two paragraphs joined by Delete", half + QStringLiteral("\r\n") + half, "delete",
        QStringLiteral("x"), half.size(), half + half, true);
}

// However a paragraph comes to be longer than 64K characters, pasted, typed or left by a
// deletion, it is held cut after its spaces, and read, copied, counted, undone and redone as the
// one paragraph it is; one no longer than that is held whole.
void tst_TextPane::longParagraphsAreCutAfterASpace()
{
    QFETCH(QString, initial);
    QFETCH(QByteArray, road);
    QFETCH(QString, brought);
    QFETCH(int, at);
    QFETCH(QString, expected);
    QFETCH(bool, viewStays);
    ui::TextPane* pane = typingAtTheEnd(initial);
    QVERIFY(pane);
    QCOMPARE(HoldingAgainst(*pane, initial), QString());
    QTextCursor cursor(pane->document());
    cursor.setPosition(pane->documentPosition(std::size_t(at)));
    pane->setTextCursor(cursor);
    pane->centerCursor();
    const int topBefore = pane->cursorForPosition(QPoint(0, 0)).position();
    if (road == "select all, paste") {
        QTest::keyClick(pane, Qt::Key_A, Qt::ControlModifier);
        uitest::Paste(pane, brought);
    } else if (road == "select to the start, paste") {
        QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
        uitest::Paste(pane, brought);
    } else if (road == "paste") {
        uitest::Paste(pane, brought);
    } else if (road == "type") {
        uitest::TypeText(pane, brought);
    } else if (road == "backspace" || road == "delete") {
        for (qsizetype i = 0; i < brought.size(); ++i)
            QTest::keyClick(pane, road == "delete" ? Qt::Key_Delete : Qt::Key_Backspace);
    }
    // The cursor after what came or before what went, whatever cuts or joins that made, and in
    // view.
    const auto cursorAfter =
        std::size_t(road == "delete" ? at : at + expected.size() - initial.size());
    QCOMPARE(pane->plainPosition(pane->textCursor().position()), cursorAfter);
    QCoreApplication::processEvents();
    QVERIFY2(pane->viewport()->rect().contains(pane->cursorRect()),
             qPrintable(uitest::Describe(pane->cursorRect())));
    // A keystroke in the middle of the view leaves the view where it was.
    if (viewStays)
        QCOMPARE(pane->cursorForPosition(QPoint(0, 0)).position(), topBefore);
    QCOMPARE(HoldingAgainst(*pane, expected), QString());
    QCOMPARE(figuresAgainst(expected), QString());
    if (road == "none")
        return;
    // Undone to the text it started from, and redone, every cut with its step.
    int steps = 0;
    while (pane->plainText() != initial && steps++ < 20)
        QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(HoldingAgainst(*pane, initial), QString());
    // Typing is undone as Qt merges it, but that the keystroke that made a cut is a step of its
    // own, before the typing after it.
    if (road == "type" && !brought.contains(u'\n'))
        QVERIFY2(steps <= 3, qPrintable(QString::number(steps)));
    QCOMPARE(figuresAgainst(initial), QString());
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(pane, Qt::Key_Y, Qt::ControlModifier);
    // Redone, the cursor stands where the edit left it, and shows.
    QCOMPARE(pane->plainPosition(pane->textCursor().position()), cursorAfter);
    QCoreApplication::processEvents();
    QVERIFY2(pane->viewport()->rect().contains(pane->cursorRect()),
             qPrintable(uitest::Describe(pane->cursorRect())));
    QCOMPARE(HoldingAgainst(*pane, expected), QString());
}

void tst_TextPane::tripleClickSelectsTheParagraph_data()
{
    QTest::addColumn<int>("clickedAt"); // in the plain text
    QTest::addColumn<int>("draggedTo"); // the button held down to there; -1, no drag
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("forward"); // the cursor at the selection's end
    const QString first = QStringLiteral("начало\r\n");
    const QString cut = Prose(20000, 12) + QStringLiteral("\r\n"); // about 130K: eight blocks
    const int last = int(first.size() + cut.size());
    const QString end = QStringLiteral("конец");
    QTest::newRow("a paragraph not cut") << 2 << -1 << first << true;
    QTest::newRow("the last paragraph") << last + 2 << -1 << end << true;
    QTest::newRow("the first block of a cut paragraph") << 20 << -1 << cut << true;
    QTest::newRow("a block in its middle") << 70000 << -1 << cut << true;
    QTest::newRow("its last block") << last - 20 << -1 << cut << true;
    QTest::newRow("held and moved where the click was") << 70000 << 70000 << cut << true;
    QTest::newRow("dragged down into the next paragraph")
        << last - 20 << last + 2 << cut + end << true;
    QTest::newRow("dragged up from the next paragraph")
        << last + 2 << last - 20 << cut + end << false;
}

// As Qt's own view selects the paragraph under a triple-click, and paragraph by paragraph while
// the button is held, so does the pane, though it holds a long paragraph as several blocks.
void tst_TextPane::tripleClickSelectsTheParagraph()
{
    QFETCH(int, clickedAt);
    QFETCH(int, draggedTo);
    QFETCH(QString, selected);
    QFETCH(bool, forward);
    ui::TextPane* pane = typingAtTheEnd(QStringLiteral("начало\r\n") + Prose(20000, 12) +
                                        QStringLiteral("\r\nконец"));
    QVERIFY(pane);
    QVERIFY(pane->paragraphCount() < pane->document()->blockCount());
    const auto pointAt = [pane](int plain) {
        QTextCursor cursor = pane->textCursor();
        cursor.setPosition(pane->documentPosition(std::size_t(plain)));
        return pane->cursorRect(cursor).center();
    };
    QTextCursor place = pane->textCursor();
    place.setPosition(pane->documentPosition(std::size_t(clickedAt)));
    pane->setTextCursor(place);
    QWidget* viewport = pane->viewport();
    const QPoint click = pointAt(clickedAt);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, click);
    QTest::mousePress(viewport, Qt::LeftButton, {}, click);
    QPoint release = click;
    if (draggedTo >= 0) {
        // The triple-click took the view to the selection's end: held still, the mouse is
        // where it clicked, not where that text now shows.
        release = draggedTo == clickedAt ? click : pointAt(draggedTo);
        QVERIFY(viewport->rect().contains(release));
        QMouseEvent move(QEvent::MouseMove, release, viewport->mapToGlobal(release), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, release);
    const QTextCursor selection = pane->textCursor();
    QCOMPARE(pane->plainText(selection.selectionStart(), selection.selectionEnd()), selected);
    QCOMPARE(selection.position() > selection.anchor(), forward);
}

QTEST_MAIN(tst_TextPane)
#include "tst_text_pane.moc"
