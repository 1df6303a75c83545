// The about window: its design, its description exact, its title where the design puts it.
#include "support/window_test.h"
#include "ui/kit/twips.h"
#include "ui/main/main_window.h"
#include "ui/windows/about_window.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

using uitest::Find;

class tst_AboutWindow : public uitest::WindowTest
{
    Q_OBJECT

private slots:
    void opensWithTheDesign();
    void descriptionIsExact();
    void titleStandsAtTheTopOfItsBox();
};

void tst_AboutWindow::opensWithTheDesign()
{
    ui::AboutWindow* window = openAbout();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(window->windowTitle(), QStringLiteral("О программе"));
    QCOMPARE(window->size(), QSize(ui::TwipsToPixels(5730), ui::TwipsToPixels(3345)));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
    QCOMPARE(window->windowType(), Qt::Dialog);

    auto* title = Find<QLabel>(window, "lblTitle");
    QCOMPARE(title->text(), QStringLiteral("Palimo Suite... 1.0 "));
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(Qt::white));
    auto* logo = Find<QLabel>(window, "picIcon");
    QCOMPARE(logo->pixmap().size(), QSize(37, 37));
    QCOMPARE(logo->size(), QSize(37, 37));
    QCOMPARE(logo->pos(), ui::TwipsRect(120, 120, 0, 0).topLeft());
    auto* ok = Find<QPushButton>(window, "cmdOK");
    QCOMPARE(ok->text(), QStringLiteral("Окей"));
    QVERIFY(ok->isDefault());
    QCOMPARE(ok->geometry(), ui::TwipsRect(4245, 2865, 1260, 345));
    auto* line = Find<QFrame>(window, "Line1");
    QCOMPARE(line->palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(line->y(), ui::TwipsToPixels(2640));
}

void tst_AboutWindow::descriptionIsExact()
{
    const QString description = ui::AboutWindow::description();
    const QStringList lines = description.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines.at(6), QString());
    QCOMPARE(lines.at(0), QStringLiteral("Программа Palimo Suite является универсальным "));
    QCOMPARE(lines.at(5), QStringLiteral("разместите их во вторую текстовую форму..."));
    for (int i = 0; i < 5; ++i)
        QVERIFY(lines.at(i).endsWith(QLatin1Char(' ')));

    auto* text = Find<QPlainTextEdit>(openAbout(), "Text1");
    QVERIFY(!text->isEnabled());
    QCOMPARE(text->toPlainText(), QString(description).replace("\r\n", "\n"));
    QCOMPARE(text->palette().color(QPalette::Disabled, QPalette::Text), QColor(Qt::black));
    QCOMPARE(text->palette().color(QPalette::Disabled, QPalette::Base), QColor(Qt::white));
    // Each line stands unwrapped and all six are in view without scrolling.
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next())
        QCOMPARE(block.layout()->lineCount(), 1);
    const int margin = int(text->document()->documentMargin());
    QVERIFY(6 * text->fontMetrics().lineSpacing() + 2 * margin <= text->viewport()->height());
}

// The capitals' tops stand where the font's ascent puts them below the box's top, so that the
// title stands well clear of the description box below it.
void tst_AboutWindow::titleStandsAtTheTopOfItsBox()
{
    auto* title = Find<QLabel>(openAbout(), "lblTitle");
    const QRectF ink = uitest::InkOnDarkGreen(title);
    QVERIFY(ink.isValid());
    const QFontMetrics metrics = title->fontMetrics();
    QVERIFY2(ink.top() <= metrics.ascent() - metrics.capHeight() + 1,
             qPrintable(QString::number(ink.top())));
    QVERIFY(title->y() + ink.bottom() + 8 < Find(mainWindow()->aboutWindow(), "Text1")->y());
}

QTEST_MAIN(tst_AboutWindow)
#include "tst_about_window.moc"
