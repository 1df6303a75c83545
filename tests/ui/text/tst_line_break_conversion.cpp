// The line breaks a text has on its way into a pane, out of it, and onto the clipboard.
#include "ui/text/line_break_conversion.h"

#include <QTest>

class tst_LineBreakConversion : public QObject
{
    Q_OBJECT

private slots:
    void conversions_data();
    void conversions();
};

void tst_LineBreakConversion::conversions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolkit"); // ToToolkitLineBreaks
    QTest::addColumn<QString>("system");  // WithSystemLineBreaks
    QTest::addColumn<QString>("copied");  // WithLineFeeds

    const auto row = [](const char* name, const char16_t* text, const char16_t* toolkit,
                        const char16_t* system, const char16_t* copied) {
        QTest::newRow(name) << QString::fromUtf16(text) << QString::fromUtf16(toolkit)
                            << QString::fromUtf16(system) << QString::fromUtf16(copied);
    };
    row("none", u"a b\tc", u"a b\tc", u"a b\tc", u"a b\tc");
    row("empty", u"", u"", u"", u"");
    row("crLf", u"a\r\nb", u"a\nb", u"a\r\r\nb", u"a\r\nb");
    row("cr", u"a\rb", u"a\nb", u"a\rb", u"a\rb");
    row("crLast", u"a\r\nb\r", u"a\nb\n", u"a\r\r\nb\r", u"a\r\nb\r");
    row("lf", u"a\nb", u"a\nb", u"a\r\nb", u"a\nb");
    row("lfCr", u"a\n\rb", u"a\n\nb", u"a\r\n\rb", u"a\n\rb");
    row("crCrLf", u"\r\r\n", u"\n\n", u"\r\r\r\n", u"\r\r\n");
    row("paragraphSeparator", u"a\u2029b", u"a\u2029b", u"a\r\nb", u"a\nb");
    row("lineSeparator", u"a\u2028b", u"a\nb", u"a\r\nb", u"a\nb");
    row("separatorsOnly", u"\u2029\u2028\u2029", u"\u2029\n\u2029", u"\r\n\r\n\r\n", u"\n\n\n");
    row("noBreakSpaceKept", u"a\u00A0b\u2029", u"a\u00A0b\u2029", u"a\u00A0b\r\n", u"a\u00A0b\n");
}

void tst_LineBreakConversion::conversions()
{
    QFETCH(QString, text);
    QFETCH(QString, toolkit);
    QFETCH(QString, system);
    QFETCH(QString, copied);
    QCOMPARE(ui::ToToolkitLineBreaks(text), toolkit);
    QCOMPARE(ui::WithSystemLineBreaks(text), system);
    QCOMPARE(ui::WithLineFeeds(text), copied);
}

QTEST_APPLESS_MAIN(tst_LineBreakConversion)
#include "tst_line_break_conversion.moc"
