// The help window: its text, exact, in a read-only pane whose last line can be read.
#include "support/scrolling.h"
#include "support/window_test.h"
#include "ui/kit/colour_value.h"
#include "ui/kit/twips.h"
#include "ui/main/main_window.h"
#include "ui/text/text_pane.h"
#include "ui/windows/help_window.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

using uitest::Find;

class tst_HelpWindow : public uitest::WindowTest
{
    Q_OBJECT

private slots:
    void opensWithTheDesign();
    void helpTextIsExact();
    void paneIsReadOnlyReadByKeysAndTabLeavesIt();
    void reopensAtTheTop();
    void lastLineCanBeRead();
};

void tst_HelpWindow::opensWithTheDesign()
{
    ui::HelpWindow* window = openHelp();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->objectName(), QStringLiteral("Form3"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Справка"));
    QVERIFY(window->windowFlags() & Qt::Tool);
    QCOMPARE(window->size(), QSize(ui::TwipsToPixels(5760), ui::TwipsToPixels(7230)));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    auto* pane = Find<ui::TextPane>(window, "RichTextBox1");
    QCOMPARE(pane->geometry(), ui::TwipsRect(120, 120, 5535, 6495));
    QCOMPARE(pane->backgroundColour(), ui::Rgb(192, 192, 192));
    QCOMPARE(pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(pane->fontSize(), 8.5);
    QCOMPARE(Find<QPushButton>(window, "Command1")->text(), QStringLiteral("Окей"));
    // "1)<tab>Материал..." is the seventh paragraph; its text starts at the first tab stop.
    const QTextBlock item = pane->document()->findBlockByNumber(6);
    QVERIFY(item.text().startsWith(QStringLiteral("1)\t")));
    const QTextLine line = item.layout()->lineAt(0);
    QCOMPARE(qRound(line.cursorToX(3) - line.x()), 48);
    QCOMPARE(pane->tabStopDistance(), 48.0);
}

void tst_HelpWindow::helpTextIsExact()
{
    const QString separator = QString(33, QLatin1Char('#'));
    const QStringList lines = ui::HelpWindow::helpText().split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), QStringLiteral("1. Привью:"));
    QVERIFY(
        lines.value(1).startsWith(QStringLiteral("Программа Palimo Suite является универсальным")));
    QVERIFY(
        lines.value(1).endsWith(QStringLiteral("просто разместите их во вторую текстовую форму.")));
    QCOMPARE(lines.value(2), separator);
    QCOMPARE(lines.value(3), QString());
    QCOMPARE(lines.value(4), QStringLiteral("2. Решаемые задачи:"));
    QCOMPARE(lines.value(5),
             QStringLiteral("Данная программа решает следующие проблемы/неудобства, с которыми я "
                            "столкнулся в процессе работы копирайтером:"));
    QCOMPARE(lines.value(6), QStringLiteral("1)\tМатериал находится всегда перед глазами."));
    QCOMPARE(lines.value(9),
             QStringLiteral(
                 "4)\tИзвестно количество символов \"без пробелов\" и количество слов в режиме "
                 "\"он-лайн\". Нет необходимости открывать вкладку \"статистика\" в МС Ворде."));
    QCOMPARE(lines.value(11),
             QStringLiteral("6)\tСравнивание ВСЕЙ вновь написанной статьи с оригиналом."));
    QCOMPARE(lines.value(12),
             QStringLiteral("7)\tВ случае обнаружения сходных шинглов программа покажет их - "
                            "останется только изменить и все."));
    QCOMPARE(lines.value(13), separator);
    QCOMPARE(lines.value(15), QStringLiteral("3. Поддержка:"));
    QCOMPARE(lines.value(16).left(24), QStringLiteral("Пользователям программы "));
    QCOMPARE(lines.value(19), QStringLiteral("4. Ошибки"));
    QCOMPARE(lines.value(20),
             QStringLiteral("Автор программы будет признателен Вам за любую информацию об "
                            "обнаруженных ошибках в программе."));
    // The last section ends with an empty line instead of a separator.
    QCOMPARE(lines.size(), 23);
    QCOMPARE(lines.value(21), QString());
    QCOMPARE(lines.count(separator), 3);

    // The pane shows it one paragraph per line.
    auto* pane = Find<ui::TextPane>(openHelp(), "RichTextBox1");
    QCOMPARE(pane->plainText(), QString(ui::HelpWindow::helpText()).replace("\n", "\r\n"));
}

// The text takes no typing, but a caret shows that it has the keys, and they select and copy it.
void tst_HelpWindow::paneIsReadOnlyReadByKeysAndTabLeavesIt()
{
    ui::HelpWindow* window = openHelp();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto* pane = Find<ui::TextPane>(window, "RichTextBox1");
    const QString before = pane->plainText();
    pane->setFocus();
    uitest::TypeText(pane, QStringLiteral("правка"));
    QCOMPARE(pane->plainText(), before);
    QVERIFY(pane->cursorWidth() > 0 && !pane->cursorRect().isEmpty());
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(pane, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), before.left(7));
    QTest::keyClick(pane, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Find(window, "Command1"));
}

// Closed, the window is made afresh: scrolled to its top, the cursor at the start.
void tst_HelpWindow::reopensAtTheTop()
{
    QPointer<ui::HelpWindow> window = openHelp();
    QScrollBar* bar = Find<ui::TextPane>(window, "RichTextBox1")->verticalScrollBar();
    bar->setValue(bar->maximum());
    QVERIFY(bar->value() > 0);
    uitest::Click(window, "Command1");
    uitest::DiscardClosedWindows();

    window = openHelp();
    QCOMPARE(Find<ui::TextPane>(window, "RichTextBox1")->verticalScrollBar()->value(), 0);
    QCOMPARE(Find<ui::TextPane>(window, "RichTextBox1")->textCursor().position(), 0);
}

// Every way of scrolling down shows the help text's last line whole, and the range is that of
// Qt's own view of the text.
void tst_HelpWindow::lastLineCanBeRead()
{
    auto* pane = Find<ui::TextPane>(openHelp(), "RichTextBox1");
    pane->setFocus();
    const QString lastWords = QStringLiteral("об обнаруженных ошибках в программе.");
    const auto endInView = [pane, &lastWords] {
        QTextCursor last(pane->document());
        last.setPosition(int(pane->document()->toRawText().lastIndexOf(lastWords)));
        return pane->viewport()->rect().contains(pane->cursorRect(last)) &&
               uitest::EndInView(*pane);
    };
    QCOMPARE(uitest::WaysThatMissTheEnd(pane, endInView), QStringList());
    QTRY_VERIFY(pane->isLaidOut());
    QCOMPARE(uitest::RangeOf(*pane), uitest::QtsOwnRange(*pane, ui::HelpWindow::helpText()));
}

QTEST_MAIN(tst_HelpWindow)
#include "tst_help_window.moc"
