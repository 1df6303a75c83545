// The main window: its design, its caption, its tab order, the live figures and the clock, the
// compare command and the switch of the auxiliary pane.
#include "support/caption_place.h"
#include "support/pixels.h"
#include "support/random_edits.h"
#include "support/window_test.h"
#include "ui/kit/colour_value.h"
#include "ui/kit/controls.h"
#include "ui/kit/strings.h"
#include "ui/kit/twips.h"
#include "ui/main/auxiliary_pane_switch.h"
#include "ui/main/document_statistics.h"
#include "ui/main/figures_row.h"
#include "ui/main/frame_box.h"
#include "ui/main/main_window.h"
#include "ui/placement/window_setup.h"
#include "ui/text/text_pane.h"
#include "ui/windows/listing_pane.h"
#include "ui/windows/result_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>

using uitest::Find;

class tst_MainWindow : public uitest::WindowTest
{
    Q_OBJECT

private:
    QScrollArea* scrollArea() { return mainWindow()->findChild<QScrollArea*>(); }
    // The window's scrolled view shows as much of the control as it can at once; of a pane, the
    // place of its cursor.
    bool inView(const QWidget* control)
    {
        const QWidget* viewport = scrollArea()->viewport();
        QRect place(control->mapTo(viewport, QPoint(0, 0)), control->size());
        if (const auto* pane = qobject_cast<const ui::TextPane*>(control))
            place = QRect(pane->viewport()->mapTo(viewport, pane->cursorRect().topLeft()),
                          pane->cursorRect().size());
        const QRect shown = place & viewport->rect();
        return shown.width() == std::min(place.width(), viewport->width()) &&
               shown.height() == std::min(place.height(), viewport->height());
    }

    // The figures' labels as the writer reads them: each figure whole, clear of the clear button
    // and of the frame's line, apart from the slash; at their designed places while short.
    void verifyFiguresRow(bool designed)
    {
        const QList<QLabel*> figures = {label("Label5"), label("Label7"), label("Label8")};
        QList<QRect> texts;
        for (QLabel* shown : figures) {
            const QRect text = shown->fontMetrics().boundingRect(shown->text());
            texts << QRect(shown->x(), shown->y(), std::max(text.width(), 1), text.height());
            QVERIFY2(shown->fontMetrics().horizontalAdvance(shown->text()) <= shown->width(),
                     qPrintable(shown->objectName()));
            QVERIFY(shown->x() > control("Command2")->geometry().right());
            QVERIFY(shown->geometry().right() < control("Frame1")->width() - 2);
        }
        QCOMPARE(figures[0]->size(), figures[0]->sizeHint());
        QVERIFY(texts[0].right() + 2 < figures[1]->x());
        QVERIFY(figures[1]->geometry().right() + 2 < figures[2]->x());
        if (designed) {
            QCOMPARE(figures[0]->pos(), ui::TwipsRect(3720, 480, 0, 0).topLeft());
            QCOMPARE(figures[1]->pos(), ui::TwipsRect(4080, 480, 0, 0).topLeft());
            QCOMPARE(figures[2]->geometry(), ui::TwipsRect(4200, 480, 375, 255));
        }
    }

private slots:
    void startsWithTheDesign();
    void wholeOnTheScreen();
    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void shingleLengthIsFixedAndReadable();

    void captionMirrorsTheNewText_data();
    void captionMirrorsTheNewText();

    void tabWalksTheDesignedOrderOutOfThePanes();

    void framesDrawTheirLineThroughTheCaption_data();
    void framesDrawTheirLineThroughTheCaption();
    void controlsAreNamedForScreenReaders();

    void clearAllEmptiesEveryPaneAndRestoresTheTitle();
    void sourcePaneReturnsTo18PointsOnFocus();

    void compareShowsAndUpdatesTheResult();
    void compareWithTooFewWordsShowsOneMessage_data();
    void compareWithTooFewWordsShowsOneMessage();
    void aRefusedPasteIsToldOnce();

    void statisticsFollowTheTextOnTicks_data();
    void statisticsFollowTheTextOnTicks();
    void longFiguresStayApartInsideTheFrame_data();
    void longFiguresStayApartInsideTheFrame();
    void statisticsEqualAFreshCountAfterEveryEdit_data();
    void statisticsEqualAFreshCountAfterEveryEdit();
    void keystrokeReadsOnlyItsParagraph();

    void clockShowsTheWorkTimersCaptions();

    void layoutAfterEachEvent_data();
    void layoutAfterEachEvent();
    void pointerOverTheBoxOrTheFrameSplitsThePanes();
};

void tst_MainWindow::startsWithTheDesign()
{
    QCOMPARE(mainWindow()->objectName(), QStringLiteral("Form1"));
    QCOMPARE(mainWindow()->windowTitle(), QStringLiteral("Palimo Suite..."));
    QCOMPARE(mainWindow()->size(), QSize(873, 665));
    QCOMPARE(mainWindow()->minimumSize(), mainWindow()->maximumSize());
    QVERIFY(!(mainWindow()->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(mainWindow()->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(mainWindow()->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(mainWindow()->frameGeometry().center(),
             mainWindow()->screen()->availableGeometry().center());

    QCOMPARE(
        newTextPane()->plainText(),
        QStringLiteral("Системы глобального позиционирования обеспечивают непрерывную навигацию "
                       "практически в любой точке земного шара. Недостатками навигационных "
                       "систем GPS служат - недоступность сигнала GPS в бетонных помещениях и в "
                       "условиях сильной облачности."));
    QCOMPARE(sourcePane()->plainText(),
             QStringLiteral("Недостатками навигационных систем типа GPS является их практическая "
                            "неприменимость в условиях сильной облачности, а так же в местах с "
                            "отсутствием прямой видимости небосвода\u2026"));
    QCOMPARE(auxiliaryPane()->plainText(),
             QStringLiteral("Система GPS позволяет узнавать местоположение объекта в любой точке "
                            "Земли. Высота, широта и долгота\u2026"));
    QVERIFY(newTextPane()->font().bold());
    QVERIFY(!sourcePane()->font().bold());
    for (const ui::TextPane* pane : panes()) {
        QCOMPARE(pane->fontSize(), 18.0);
        QCOMPARE(pane->backgroundColour(), ui::Rgb(255, 255, 255));
        QCOMPARE(pane->palette().color(QPalette::Base), QColor(Qt::white));
    }
    QCOMPARE(mainWindow()->palette().color(QPalette::Window), uitest::DarkGreen());
    QVERIFY(control<QCheckBox>("Check1")->isChecked());
    QCOMPARE(label("Label2")->text(), QStringLiteral("Количество символов(без \" \")/слов"));
    QCOMPARE(label("Label1")->toolTip(), QStringLiteral("Время работы программы."));
    QCOMPARE(label("Label9")->text(), QStringLiteral("Длина шингла"));
    QCOMPARE(mainWindow()->windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
    QVERIFY(!mainWindow()->resultWindow());
    QVERIFY(!mainWindow()->optionsWindow());
    // The figures show nought until Timer3's first tick counts the text.
    QCOMPARE(label("Label5")->text(), QStringLiteral("0"));
    QCOMPARE(label("Label8")->text(), QStringLiteral("0"));
    QCOMPARE(control<QTimer>("Timer3")->interval(), 1);
    QVERIFY(control<QTimer>("Timer3")->isActive());
    // The upper panes load wide; Timer2's first tick splits them (controlsStandWhereDesigned).
    QCOMPARE(control<QTimer>("Timer2")->interval(), 150);
    QCOMPARE(sourcePane()->width(), ui::TwipsToPixels(12615));
    QVERIFY(auxiliaryPane()->isHidden());
}

// Whatever the screen, the window stands whole on it, centred; where the screen leaves less room
// than the design needs, the window takes what there is and the design scrolls inside it,
// unchanged. The test command runs this on screens of several sizes and scales.
void tst_MainWindow::wholeOnTheScreen()
{
    const QSize design(ui::TwipsToPixels(13095), ui::TwipsToPixels(9975));
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow()));
    QCoreApplication::processEvents(); // the scroll bars follow the window's size in posted events
    const QRect available = mainWindow()->screen()->availableGeometry();
    const QRect frame = mainWindow()->frameGeometry();
    const QString where =
        uitest::Describe(frame) + QStringLiteral(" on ") + uitest::Describe(available);
    QVERIFY2(available.contains(frame), qPrintable(where));

    QScrollArea* area = scrollArea();
    QVERIFY(area);
    QCOMPARE(area->widget()->size(), design);
    QCOMPARE(area->geometry(), mainWindow()->rect());
    const QWidget* viewport = area->viewport();
    const bool across = viewport->width() < design.width();
    const bool down = viewport->height() < design.height();
    QCOMPARE(area->horizontalScrollBar()->isVisible(), across);
    QCOMPARE(area->verticalScrollBar()->isVisible(), down);
    // Where the design fits the window is the design's size, centred; where it does not, as
    // large as the area (a device pixel less at each edge at a fractional scale).
    const QPoint offCentre = frame.center() - available.center();
    QVERIFY2(across ? frame.width() >= available.width() - 2 : std::abs(offCentre.x()) <= 1,
             qPrintable(where));
    QVERIFY2(down ? frame.height() >= available.height() - 2 : std::abs(offCentre.y()) <= 1,
             qPrintable(where));
    if (!across && !down)
        QCOMPARE(mainWindow()->size(), design);

    // The design's top left shows first; the scroll bars' ends show its far edges.
    QCOMPARE(area->widget()->mapTo(viewport, QPoint(0, 0)), QPoint(0, 0));
    area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    QCOMPARE(area->widget()->mapTo(viewport, QPoint(design.width(), design.height())),
             QPoint(viewport->width(), viewport->height()));
}

void tst_MainWindow::controlsStandWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");

    auto row = [](const char* name, QRect place, const QString& text, const QString& toolTip) {
        QTest::newRow(name) << QString::fromLatin1(name) << place << text << toolTip;
    };
    using ui::TwipsRect;
    row("RichTextBox1", TwipsRect(240, 5400, 12615, 4335), {}, {});
    row("RichTextBox2", TwipsRect(240, 240, 6255, 4215), {}, {});
    row("RichTextBox3", TwipsRect(6600, 240, 6255, 4215), {}, {});
    row("Frame2", TwipsRect(240, 4440, 5535, 855), "Сервис", {});
    row("Command4", TwipsRect(120, 240, 2775, 255), "Сравнить с оригиналом",
        "Сравнить с текстом находящимся в первом окне.");
    row("Check1", TwipsRect(3480, 120, 1935, 255), "Второе окно(вспом.)",
        "Включает второе вспомогательное окно программы.");
    row("Text1", TwipsRect(3480, 480, 375, 255), "3", "Длина шингла(рекомендуемая длина 4-5)");
    row("Command6", TwipsRect(360, 4920, 2775, 240), "Опции",
        "Изменить цвет окон и размер шрифта.");
    row("Command3", TwipsRect(11160, 4560, 1695, 285), "Help", {});
    row("Command1", TwipsRect(11160, 4800, 1695, 285), "Выход", {});
    row("Command5", TwipsRect(11160, 5040, 1695, 285), "О программе", {});
    row("Frame1", TwipsRect(6120, 4440, 4935, 855), "Статистика", "Основная статистика");
    row("Label8", TwipsRect(4200, 480, 375, 255), "0", "Количество слов.");
    row("Command2", TwipsRect(1920, 480, 1335, 315), "Очистить все",
        "Очистить содержимое всех окон.");
}

void tst_MainWindow::controlsStandWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    tick("Timer2"); // the auxiliary pane shows from the first tick
    QWidget* placed = control(name.toLatin1().constData());
    QCOMPARE(placed->geometry(), place);
    QCOMPARE(placed->toolTip(), toolTip);
    QCOMPARE(uitest::CaptionText(placed), text);
    QVERIFY(placed->isVisible());
}

// Greyed, the shingle length takes no click nor key, and still reads clearly.
void tst_MainWindow::shingleLengthIsFixedAndReadable()
{
    auto* field = control<QLineEdit>("Text1");
    QVERIFY(!field->isEnabled());
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClicks(field, "7");
    QCOMPARE(field->text(), QStringLiteral("3"));
    const QImage image = field->grab().toImage();
    const QRect inner = image.rect().adjusted(3, 3, -3, -3);
    const QColor background = image.pixelColor(inner.right(), inner.center().y());
    QVERIFY(uitest::HighestContrast(image, background, inner) >= 3.0);
    QVERIFY(uitest::Contrast(field->palette().color(QPalette::Disabled, QPalette::Text),
                             field->palette().color(QPalette::Disabled, QPalette::Base)) >= 3.0);
}

void tst_MainWindow::captionMirrorsTheNewText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");
    const auto row = [](const char* name, const QString& typed, const QString& caption) {
        QTest::newRow(name) << typed << caption;
    };
    const QString sixtyOne = QString(61, QLatin1Char('x'));
    row("oneLetter", QStringLiteral("А"), QStringLiteral("А"));
    row("sixtyOneCharacters", sixtyOne, sixtyOne.left(60));
    row("lineBreakIncluded", QStringLiteral("Заголовок\nПервая строка текста"),
        QStringLiteral("Заголовок\r\nПервая строка текста"));
    row("notTrimmed", QStringLiteral("  два пробела "), QStringLiteral("  два пробела "));
    row("tab", QStringLiteral("a\tb"), QStringLiteral("a\tb"));
    // Qt's modified-document marker in a title, shown as it is.
    row("bracketStar", QStringLiteral("Список [*] дел"), QStringLiteral("Список [*] дел"));
}

void tst_MainWindow::captionMirrorsTheNewText()
{
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    // The title bar would show the application's name, or the window manager's "no name", for a
    // title with no characters; one that draws as nothing keeps it empty.
    QCoreApplication::setApplicationName(QStringLiteral("palimo-suite"));
    ui::TextPane* newText = newTextPane();
    newText->replacePlainText(QString());
    QCOMPARE(mainWindow()->caption(), QString());
    QCOMPARE(mainWindow()->windowHandle()->title(), QStringLiteral("\u200B"));
    newText->setFocus();
    uitest::TypeText(newText, typed);
    QCOMPARE(mainWindow()->caption(), caption);
    QCOMPARE(mainWindow()->windowHandle()->title(), caption);
}

void tst_MainWindow::tabWalksTheDesignedOrderOutOfThePanes()
{
    tick("Timer2"); // the auxiliary pane shows
    QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
    const QStringList order = {"RichTextBox1", "RichTextBox2", "RichTextBox3", "Check1",
                               "Command1",     "Command3",     "Command4",     "Command5",
                               "Command6",     "Command2",     "RichTextBox1"};
    const QString before = newTextPane()->plainText();
    // Each control the keys reach comes into view where the window scrolls.
    const auto reached = [this] {
        QWidget* focus = QApplication::focusWidget();
        return focus->objectName() + (inView(focus) ? QString() : QStringLiteral(" out of view"));
    };
    QStringList forward = {QApplication::focusWidget()->objectName()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << reached();
    }
    QCOMPARE(forward, order);
    QStringList backward = {reached()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        backward << reached();
    }
    std::ranges::reverse(backward);
    QCOMPARE(backward, order);
    for (const ui::TextPane* pane : panes())
        QVERIFY(!pane->plainText().contains(QLatin1Char('\t')));
    QCOMPARE(newTextPane()->plainText(), before);
}

void tst_MainWindow::framesDrawTheirLineThroughTheCaption_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"Frame2", "Frame1"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_MainWindow::framesDrawTheirLineThroughTheCaption()
{
    QFETCH(QString, name);
    auto* frame = control<ui::FrameBox>(name.toLatin1().constData());
    const QPixmap drawn = frame->grab();
    const QImage image = drawn.toImage();
    // The image is in device pixels, the layout in logical ones (QT_SCALE_FACTOR).
    const qreal ratio = drawn.devicePixelRatio();
    const auto device = [ratio](int logical) { return qRound(logical * ratio); };
    const QColor inside = uitest::DarkGreen();
    // The top line, looked for right of the caption: it runs through the caption's middle.
    const int column = device(frame->width() - 12);
    int line = -1;
    for (int y = 0; y < image.height() && line < 0; ++y) {
        if (image.pixelColor(column, y) != inside)
            line = y;
    }
    const QFontMetrics metrics = frame->fontMetrics();
    QVERIFY2(std::abs(line - device(metrics.height() / 2)) <= device(1),
             qPrintable(QString::number(line)));
    // The caption's text sits across the line, and every control stands below it.
    const QRect caption = frame->captionRect();
    const QRect ink = uitest::InkBounds(image, inside,
                                        QRect(device(caption.x()), device(caption.y()),
                                              device(caption.width()), device(caption.height())));
    QVERIFY(ink.top() < line && ink.bottom() > line);
    for (QWidget* control : frame->findChildren<QWidget*>()) {
        if (control->isVisibleTo(frame))
            QVERIFY2(device(control->y()) > line + device(1), qPrintable(control->objectName()));
    }
    // Inside the frame, the window's own colour, exactly.
    QCOMPARE(image.pixelColor(device(frame->width() - 6), device(frame->height() - 6)), inside);
    QCOMPARE(image.pixelColor(device(6), device(frame->height() / 2 + 4)), inside);
}

void tst_MainWindow::controlsAreNamedForScreenReaders()
{
    tick("Timer2");
    const auto name = uitest::AccessibleName;
    QCOMPARE(name(newTextPane()), QStringLiteral("Новая статья"));
    QCOMPARE(name(sourcePane()), QStringLiteral("Исходная статья"));
    QCOMPARE(name(auxiliaryPane()), QStringLiteral("Второй источник"));
    QCOMPARE(name(control("Text1")), QStringLiteral("Длина шингла"));
    for (auto* control : mainWindow()->findChildren<QAbstractButton*>())
        QCOMPARE(name(control), control->text());
    // The clock and the figures read with what they count; their captions, the slash and the
    // clock's hidden parts are no more than parts of those phrases, and left out.
    control<QTimer>("Timer1")->start(std::chrono::hours(24)); // moved by the ticks below alone
    const QHash<QString, QString> phrases = {{"Label5", "Количество символов без пробелов: %1"},
                                             {"Label8", "Количество слов: %1"}};
    const QStringList leftOut = {"Label1", "Label2", "Label4", "Label6", "Label7"};
    for (auto* control : mainWindow()->findChildren<QLabel*>()) {
        const QAccessibleInterface* read = QAccessible::queryAccessibleInterface(control);
        if (leftOut.contains(control->objectName()))
            QVERIFY2(read->state().invisible && name(control).isEmpty(),
                     qPrintable(control->objectName()));
        else if (control->objectName() == QLatin1String("Label3"))
            QCOMPARE(name(control), QStringLiteral("Время работы: 0 секунд"));
        else
            QCOMPARE(name(control), phrases.value(control->objectName(), QStringLiteral("%1"))
                                        .arg(control->text().trimmed()));
    }
    // The clock is read as time, as it shows it: the minutes once they show, before the seconds.
    tick("Timer1", 62);
    QCOMPARE(name(mainWindow()->findChild<QLabel*>("Label3")),
             QStringLiteral("Время работы: 1 минута 2 секунды"));
    for (auto* control : mainWindow()->findChildren<QGroupBox*>())
        QCOMPARE(name(control), control->title());
}

// What was typed into the auxiliary pane survives its hiding. Clear all empties every pane, the
// hidden one too, keeps their font sizes and gives the title back; formatting after it is no
// change of the text.
void tst_MainWindow::clearAllEmptiesEveryPaneAndRestoresTheTitle()
{
    tick("Timer2");
    auxiliaryPane()->setFocus();
    auxiliaryPane()->moveCursor(QTextCursor::End);
    uitest::TypeText(auxiliaryPane(), QStringLiteral(" и ещё"));
    const QString typed = auxiliaryPane()->plainText();
    QVERIFY(typed.endsWith(QStringLiteral("долгота\u2026 и ещё")));
    showAuxiliaryPane(false);
    QVERIFY(auxiliaryPane()->isHidden());
    showAuxiliaryPane(true);
    QCOMPARE(auxiliaryPane()->plainText(), typed);

    showAuxiliaryPane(false);
    sourcePane()->setFontSize(12);
    newTextPane()->replacePlainText(QStringLiteral("текст"));
    QStringList captionsSeen;
    connect(mainWindow(), &QWidget::windowTitleChanged, this,
            [&captionsSeen](const QString& title) { captionsSeen << title; });
    click("Command2");
    captionsSeen.removeDuplicates(); // an empty title may be reported more than once
    QCOMPARE(captionsSeen,
             QStringList({QString(ui::EmptyTitle), QStringLiteral("Palimo Suite...")}));
    for (const ui::TextPane* pane : panes())
        QCOMPARE(pane->plainText(), QString());
    QCOMPARE(sourcePane()->fontSize(), 12.0);
    newTextPane()->setFontSize(12);
    newTextPane()->setBackgroundColour(ui::Rgb(128, 128, 0));
    QCOMPARE(mainWindow()->windowTitle(), QStringLiteral("Palimo Suite..."));

    showAuxiliaryPane(true);
    QVERIFY(auxiliaryPane()->isVisible());
    QCOMPARE(auxiliaryPane()->plainText(), QString());
}

void tst_MainWindow::sourcePaneReturnsTo18PointsOnFocus()
{
    sourcePane()->setFontSize(12);
    auxiliaryPane()->setFontSize(12);
    QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
    QTest::mouseClick(sourcePane()->viewport(), Qt::LeftButton);
    QCOMPARE(sourcePane()->fontSize(), 18.0);
    QCOMPARE(auxiliaryPane()->fontSize(), 12.0);

    // Every gain of focus, not only the first.
    sourcePane()->setFontSize(14);
    newTextPane()->setFocus();
    sourcePane()->setFocus();
    QCOMPARE(sourcePane()->fontSize(), 18.0);
}

// The design's texts compared; compared again, the open window shows the new result, and a text
// too short to compare leaves it as it was.
void tst_MainWindow::compareShowsAndUpdatesTheResult()
{
    QPointer<ui::ResultWindow> result = compare();
    QVERIFY(result);
    QVERIFY(result->isVisible());
    QVERIFY(mainWindow()->isEnabled());
    QCOMPARE(result->windowTitle(), QStringLiteral("Текст не уникален"));
    QCOMPARE(Find<QLabel>(result, "Label2")->text(), QStringLiteral(" 8 %. (Длина шингла  3)"));
    QCOMPARE(result->outerHeightTwips(), 2760);
    QCOMPARE(Find<ui::ListingPane>(result, "RichTextBox1")->plainText(),
             QStringLiteral("Недостатками навигационных систем\r\nв условиях сильной\r\n"));
    QCOMPARE(mainWindow()->windowTitle(), QStringLiteral("Palimo Suite..."));

    newTextPane()->replacePlainText(QStringLiteral("Совсем другой текст без общих слов вообще"));
    QCOMPARE(compare(), result.data());
    QCOMPARE(result->windowTitle(), QStringLiteral("Текст уникален"));
    newTextPane()->replacePlainText(QStringLiteral("два слова"));
    QCOMPARE(uitest::AnswerMessageBoxes([this] { click("Command4"); }).count, 1);
    QCOMPARE(result->windowTitle(), QStringLiteral("Текст уникален"));
    QCOMPARE(Find<QLabel>(result, "Label2")->text(), QStringLiteral(" 0 %. (Длина шингла  3)"));
}

void tst_MainWindow::compareWithTooFewWordsShowsOneMessage_data()
{
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("source"); // null: a source long enough
    QTest::newRow("newTooShort") << QStringLiteral("Short text here.") << QString();
    QTest::newRow("bothEmpty") << QString() << QStringLiteral("");
    QTest::newRow("fiveWords") << QStringLiteral("one two three four five") << QString();
    QTest::newRow("sourceEmpty") << QStringLiteral("один два три четыре пять шесть семь")
                                 << QStringLiteral("");
}

void tst_MainWindow::compareWithTooFewWordsShowsOneMessage()
{
    QFETCH(QString, newText);
    QFETCH(QString, source);
    newTextPane()->replacePlainText(newText);
    sourcePane()->replacePlainText(
        source.isNull() ? QStringLiteral("The cat sat on the warm mat all day.") : source);
    const uitest::MessageBoxSeen seen = uitest::AnswerMessageBoxes([this] { click("Command4"); });
    QCOMPARE(seen.count, 1);
    QCOMPARE(seen.title, QStringLiteral("Palimo Suite..."));
    QCOMPARE(seen.text, QStringLiteral("Количество слов меньше длины шингла!"));
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QVERIFY(!mainWindow()->resultWindow());
    QCOMPARE(newTextPane()->plainText(), newText);
}

// What the pane refused, too large to hold, is told in a warning once the event that brought it
// is handled; no pane changes.
void tst_MainWindow::aRefusedPasteIsToldOnce()
{
    const QString before = sourcePane()->plainText();
    ui::TextPane* pane = sourcePane();
    const uitest::MessageBoxSeen seen = uitest::AnswerMessageBoxes([pane] {
        QMetaObject::invokeMethod(pane, &ui::TextPane::insertRefused);
        QCoreApplication::sendPostedEvents();
    });
    QCOMPARE(seen.count, 1);
    QCOMPARE(seen.title, QStringLiteral("Palimo Suite..."));
    QCOMPARE(seen.text, QStringLiteral("Не хватает памяти, чтобы вставить этот текст. Тексты в "
                                       "окнах остались как были."));
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(sourcePane()->plainText(), before);
}

void tst_MainWindow::statisticsFollowTheTextOnTicks_data()
{
    QTest::addColumn<QString>("text"); // null: the design's own
    QTest::addColumn<QString>("characters");
    QTest::addColumn<QString>("words");
    QTest::addColumn<bool>("designed"); // the figures keep their designed places
    // The figures themselves are the analysis' own tests; here, that the labels show them: no
    // word shows as an empty label, a line break typed in the pane counts as its two
    // characters, and long figures stand apart.
    const auto row = [](const char* name, const QString& text, const char* characters,
                        const char* words, bool designed) {
        QTest::newRow(name) << text << characters << words << designed;
    };
    row("start", QString(), "211", "28", true);
    row("empty", QStringLiteral(""), "0", "", true);
    row("lineBreak", QStringLiteral("один\nдва"), "9", "1", true);
    row("twoThousandWords", QStringLiteral("слово ").repeated(2001), "10005", "2001", false);
}

void tst_MainWindow::statisticsFollowTheTextOnTicks()
{
    QFETCH(QString, text);
    QFETCH(QString, characters);
    QFETCH(QString, words);
    QFETCH(bool, designed);
    if (!text.isNull())
        newTextPane()->replacePlainText(text);
    tick("Timer3");
    QCOMPARE(label("Label5")->text(), characters);
    QCOMPARE(label("Label8")->text(), words);
    verifyFiguresRow(designed);

    // Typing one more word shows up on the next tick.
    newTextPane()->moveCursor(QTextCursor::End);
    uitest::TypeText(newTextPane(), QStringLiteral(" слово "));
    tick("Timer3");
    QCOMPARE(label("Label5")->text(), QString::number(characters.toInt() + 5));
}

void tst_MainWindow::longFiguresStayApartInsideTheFrame_data()
{
    QTest::addColumn<QString>("characters");
    QTest::addColumn<QString>("words");
    // Figures longer than any text a test types in good time; the short ones are above.
    QTest::newRow("fiveAndFour") << QStringLiteral("12808") << QStringLiteral("2000");
    QTest::newRow("sixDigitWords") << QStringLiteral("12") << QStringLiteral("123456");
    QTest::newRow("sevenAndSeven") << QStringLiteral("8888888") << QStringLiteral("8888888");
    QTest::newRow("sevenWide") << QStringLiteral("4444444") << QStringLiteral("0000000");
}

void tst_MainWindow::longFiguresStayApartInsideTheFrame()
{
    QFETCH(QString, characters);
    QFETCH(QString, words);
    const ui::FiguresRow figures{label("Label5"), label("Label7"), label("Label8")};
    ui::SetAutoSizedText(figures.characters, characters);
    figures.words->setText(words);
    ui::LayOutFiguresRow(figures, control("Command2"));
    verifyFiguresRow(false);
}

void tst_MainWindow::statisticsEqualAFreshCountAfterEveryEdit_data()
{
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 6; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed%1").arg(seed))) << seed;
}

// Edits of every kind through the real pane, each followed by a tick: the labels always show
// what a fresh count of the whole text gives.
void tst_MainWindow::statisticsEqualAFreshCountAfterEveryEdit()
{
    QFETCH(int, seed);
    uitest::RandomEdits edits(static_cast<unsigned>(seed));
    ui::TextPane* newText = newTextPane();
    for (int step = 0; step < 150; ++step) {
        // Now and then the program replaces the whole text, or clears every pane, or the
        // writer pastes thousands of paragraphs, which the figures read from one copy.
        const int kind = edits.texts().number(0, 23);
        if (kind == 0) {
            click("Command2");
        } else if (kind == 1) {
            std::u16string paragraphs;
            for (int i = 0; i < 5000; ++i)
                paragraphs += edits.texts().text(2) + u"\r\n";
            uitest::Paste(newText, ui::ToQString(paragraphs));
        } else if (kind == 2) {
            newText->replacePlainText(ui::ToQString(edits.texts().text(6)));
        } else {
            edits.editOnce(newText);
        }
        tick("Timer3");
        const analysis::TextStatistics fresh =
            analysis::ComputeTextStatistics(ui::ToU16View(newText->plainText()));
        QCOMPARE(label("Label5")->text(), QString::number(fresh.CharactersWithoutSpaces));
        QCOMPARE(label("Label8")->text(),
                 fresh.WordCount == 0 ? QString() : QString::number(fresh.WordCount));
    }
}

// The figures follow a keystroke without reading the text around its paragraph.
void tst_MainWindow::keystrokeReadsOnlyItsParagraph()
{
    ui::TextPane* newText = newTextPane();
    QStringList paragraphs;
    for (int i = 0; i < 2000; ++i)
        paragraphs << QStringLiteral("Абзац номер %1 из книги.").arg(i);
    newText->replacePlainText(paragraphs.join(QStringLiteral("\r\n")));
    auto* statistics = mainWindow()->findChild<ui::DocumentStatistics*>();
    QVERIFY(statistics);
    QTextCursor cursor = newText->textCursor();
    cursor.setPosition(newText->document()->findBlockByNumber(1000).position());
    newText->setTextCursor(cursor);
    newText->setFocus();
    const std::uint64_t before = statistics->charactersExamined();
    uitest::TypeText(newText, QStringLiteral("x"));
    QCOMPARE(statistics->charactersExamined() - before, quint64(paragraphs[1000].size() + 1));
    tick("Timer3");
    QCOMPARE(label("Label8")->text(),
             QString::number(
                 analysis::ComputeTextStatistics(ui::ToU16View(newText->plainText())).WordCount));
}

// The captions themselves are the work timer's own tests; here, that the labels show them and
// appear when their field does.
void tst_MainWindow::clockShowsTheWorkTimersCaptions()
{
    QCOMPARE(control<QTimer>("Timer1")->interval(), 1000);
    QCOMPARE(label("Label3")->text(), QStringLiteral("00"));
    QVERIFY(label("Label4")->isHidden());
    QVERIFY(label("Label6")->isHidden());
    tick("Timer1");
    QCOMPARE(label("Label3")->text(), QStringLiteral(" 1c"));
    QVERIFY(label("Label4")->isHidden());
    tick("Timer1", 3599);
    QCOMPARE(label("Label3")->text(), QStringLiteral(" 00c"));
    QVERIFY(label("Label4")->isVisible());
    QCOMPARE(label("Label4")->text(), QStringLiteral(" 0м"));
    QVERIFY(label("Label6")->isVisible());
    QCOMPARE(label("Label6")->text(), QStringLiteral(" 1ч"));
    QCOMPARE(label("Label6")->pos(), ui::TwipsRect(480, 480, 180, 195).topLeft());
}

void tst_MainWindow::layoutAfterEachEvent_data()
{
    using ui::PaneSwitchEvent;
    using ui::UpperPanes;
    QTest::addColumn<PaneSwitchEvent>("event");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<std::optional<UpperPanes>>("layout"); // empty: the layout stays as it is
    const auto row = [](const char* name, PaneSwitchEvent event, bool checked,
                        std::optional<UpperPanes> layout) {
        QTest::newRow(name) << event << checked << layout;
    };
    row("load, checked", PaneSwitchEvent::Load, true, UpperPanes::Wide);
    row("load, unchecked", PaneSwitchEvent::Load, false, UpperPanes::Wide);
    row("tick, checked", PaneSwitchEvent::Tick, true, UpperPanes::Split);
    row("tick, unchecked", PaneSwitchEvent::Tick, false, UpperPanes::Wide);
    row("over the box, checked", PaneSwitchEvent::PointerOverCheckBox, true, std::nullopt);
    row("over the box, unchecked", PaneSwitchEvent::PointerOverCheckBox, false, UpperPanes::Split);
    row("over the frame, checked", PaneSwitchEvent::PointerOverFrame, true, UpperPanes::Split);
    row("over the frame, unchecked", PaneSwitchEvent::PointerOverFrame, false, std::nullopt);
}

void tst_MainWindow::layoutAfterEachEvent()
{
    QFETCH(ui::PaneSwitchEvent, event);
    QFETCH(bool, checked);
    QFETCH(std::optional<ui::UpperPanes>, layout);
    QCOMPARE(ui::LayoutAfter(event, checked), layout);
}

// The rules of the switch are LayoutAfter's; the window hands it each event, and the pointer over
// a control inside the frame is no event of the frame's.
void tst_MainWindow::pointerOverTheBoxOrTheFrameSplitsThePanes()
{
    // Checked, still in the wide layout of the load step.
    auto* frame = control<QGroupBox>("Frame2");
    const QPoint bare(frame->width() - 4, frame->height() - 4);
    QVERIFY(frame->childAt(bare) == nullptr);
    uitest::MovePointer(frame, control("Text1")->geometry().center());
    QVERIFY(auxiliaryPane()->isHidden());
    uitest::MovePointer(frame, bare);
    QVERIFY(auxiliaryPane()->isVisible());
    QCOMPARE(sourcePane()->width(), ui::TwipsToPixels(6255));

    showAuxiliaryPane(false);
    QVERIFY(auxiliaryPane()->isHidden());
    uitest::MovePointer(control("Check1"), QPoint(10, 5));
    QCOMPARE(sourcePane()->width(), ui::TwipsToPixels(6255));
    QVERIFY(auxiliaryPane()->isVisible());
    tick("Timer2");
    QCOMPARE(sourcePane()->width(), ui::TwipsToPixels(12615));
    QVERIFY(auxiliaryPane()->isHidden());
}

QTEST_MAIN(tst_MainWindow)
#include "tst_main_window.moc"
