// The text pane's own layout: the same lines as Qt's word-boundary-or-anywhere wrapping, at a
// cost that grows with the text even where no word boundary comes.
#include "support/ui_test_support.h"
#include "ui/common/design_fonts.h"
#include "ui/common/text_pane.h"
#include "ui/common/twips.h"

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextLayout>

class tst_TextPane : public QObject
{
    Q_OBJECT

private slots:
    void linesAreQtsOwn_data();
    void linesAreQtsOwn();
    void layoutWorkGrowsWithTheText_data();
    void layoutWorkGrowsWithTheText();
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

} // namespace

void tst_TextPane::linesAreQtsOwn_data()
{
    QTest::addColumn<QString>("text");
    const QString run = Drawn(QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789"), 5000, 7);
    QTest::newRow("prose") << Prose(1500, 1);
    QTest::newRow("runWithoutABoundary") << run;
    QTest::newRow("proseRunProse")
        << Prose(300, 2) + QLatin1Char(' ') + run + QLatin1Char(' ') + Prose(300, 3);
    QTest::newRow("runJoinedToAWord") << Prose(300, 4) + run + QStringLiteral(" ") + Prose(50, 5);
    QTest::newRow("runsAndSpaces") << run + QStringLiteral("   ") + run + QStringLiteral(" x");
    QTest::newRow("punctuationOnly") << Drawn(QStringLiteral(".,;:!?\u2026"), 4000, 9);
    QTest::newRow("ideographs") << Drawn(QStringLiteral("\u4E00\u4E8C\u4E09\u56DB\u4E94"), 4000,
                                         11);
}

// Prose wraps at word boundaries as Qt wraps it, and a run without one breaks where Qt's
// fallback breaks it: the pane shows exactly the lines Qt would.
void tst_TextPane::linesAreQtsOwn()
{
    QFETCH(QString, text);
    ui::TextPane pane;
    pane.setFont(ui::DesignFont(QStringLiteral("Trebuchet MS"), 18, true));
    pane.resize(ui::TwipsToPixels(12615), ui::TwipsToPixels(4335));
    pane.show();
    pane.replacePlainText(text);
    const QList<int> starts = PaneLineStarts(pane);
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

QTEST_MAIN(tst_TextPane)
#include "tst_text_pane.moc"
