// The rows of the listing without its widget: its lines as the line breaks make them, the rows
// each wraps into, counted while idle, and its entries as runs of lines.
#include "ui/windows/listing_rows.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>

class tst_ListingRows : public QObject
{
    Q_OBJECT

private slots:
    void linesEndAtEveryLineBreak_data();
    void linesEndAtEveryLineBreak();
    void rowsAreCountedWhileIdle();
    void entriesAreRunsOfLines();
};

void tst_ListingRows::linesEndAtEveryLineBreak_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("starts");
    QTest::newRow("empty") << QString() << QList<int>{0};
    QTest::newRow("carriage returns") << QStringLiteral("a b c\rd e f\r") << QList<int>{0, 6, 12};
    QTest::newRow("CR LF is one break")
        << QStringLiteral("a b\r\nc\rd\ne") << QList<int>{0, 4, 6, 8};
}

void tst_ListingRows::linesEndAtEveryLineBreak()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, starts);
    ui::ListingRows rows;
    rows.setText(text);
    QCOMPARE(rows.lineCount(), starts.size());
    for (int line = 0; line < rows.lineCount(); ++line) {
        QCOMPARE(rows.lineStart(line), starts[line]);
        QCOMPARE(rows.lineAt(starts[line]), line);
    }
    QVERIFY(!rows.text().contains(QLatin1Char('\r')));
}

// A line counts as one row until it is laid out; once every line is, while the event loop was
// idle, the rows are those the layout wraps them into, and the change is told once a slice.
void tst_ListingRows::rowsAreCountedWhileIdle()
{
    ui::ListingRows rows;
    const QString longLine = QStringLiteral("слово ").repeated(40);
    rows.setText(QStringLiteral("один\r") + longLine + QStringLiteral("\rтри\r"));
    QSignalSpy changed(&rows, &ui::ListingRows::rowsChanged);
    rows.setLayout(QFont(), 200, nullptr);
    QCOMPARE(rows.rowCount(), rows.lineCount());
    QVERIFY(!rows.isCounted());
    QTRY_VERIFY(rows.isCounted());
    QVERIFY(changed.count() >= 1);

    const int wrapped = rows.layOut(1)->lineCount();
    QVERIFY(wrapped > 1);
    QCOMPARE(rows.rowsOf(1), wrapped);
    QCOMPARE(rows.rowCount(), 3 + wrapped); // the empty line after the last break too
    QCOMPARE(rows.firstRowOf(2), 1 + wrapped);
    for (int row = 0; row < rows.rowCount(); ++row) {
        const int line = rows.lineOfRow(row);
        QVERIFY(rows.firstRowOf(line) <= row && row < rows.firstRowOf(line) + rows.rowsOf(line));
    }

    // A new width counts every line again.
    rows.setLayout(QFont(), 2000, nullptr);
    QVERIFY(!rows.isCounted());
    QTRY_VERIFY(rows.isCounted());
    QCOMPARE(rows.rowsOf(1), 1);
}

// An entry takes its lines up to the next entry's first, the last up to where the entries end;
// the closing line belongs to none.
void tst_ListingRows::entriesAreRunsOfLines()
{
    ui::ListingRows rows;
    rows.setText(QStringLiteral("a b\r\nc\rd e f\r\u2026 (+5)\r"));
    rows.setEntries({0, 2}, 3, [](int entry) { return entry == 1; });
    QCOMPARE(rows.entryCount(), 2);
    const QList<int> entryOfLine = {0, 0, 1, -1, -1};
    for (int line = 0; line < rows.lineCount(); ++line)
        QCOMPARE(rows.entryOfLine(line), entryOfLine[line]);
    QCOMPARE(rows.entryEnd(0), 2);
    QCOMPARE(rows.entryEnd(1), 3);
    QCOMPARE(rows.entryText(0), QStringLiteral("a b\nc"));
    QCOMPARE(rows.entryText(1), QStringLiteral("d e f"));
    QVERIFY(!rows.isEntryDone(0));
    QVERIFY(rows.isEntryDone(1));
    // A new text has no entries.
    rows.setText(QStringLiteral("x"));
    QCOMPARE(rows.entryCount(), 0);
}

QTEST_MAIN(tst_ListingRows)
#include "tst_listing_rows.moc"
