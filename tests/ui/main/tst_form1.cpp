#include "support/ui_test_support.h"
#include "ui/common/colour_value.h"
#include "ui/common/controls.h"
#include "ui/common/frame_box.h"
#include "ui/common/listing_pane.h"
#include "ui/common/strings.h"
#include "ui/common/text_pane.h"
#include "ui/common/twips.h"
#include "ui/common/window_setup.h"
#include "ui/main/document_statistics.h"
#include "ui/main/figures_row.h"
#include "ui/main/main_window.h"
#include "ui/windows/result_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QWindow>

#include <algorithm>
#include <memory>

using uitest::Find;
using uitest::Tick;

class tst_Form1 : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ui::MainWindow> window;

    ui::TextPane* pane(const char* name) { return Find<ui::TextPane>(window.get(), name); }
    QLabel* label(const char* name) { return Find<QLabel>(window.get(), name); }
    void click(const char* name) { uitest::Click(window.get(), name); }
    QScrollArea* scrollArea() { return window->findChild<QScrollArea*>(); }
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

private slots:
    void init()
    {
        window = std::make_unique<ui::MainWindow>();
        window->show();
    }
    void cleanup()
    {
        window.reset();
        uitest::VerifyNoWindowLeft();
    }

    void startsWithTheDesign();
    void wholeOnTheScreen();
    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void newTextPaneIsFirstAndFocused();
    void shingleLengthFieldIsFixed();

    void captionMirrorsTheNewText_data();
    void captionMirrorsTheNewText();
    void captionShowsBracketStarLiterally();
    void emptyCaptionLeavesTheTitleBarEmpty();

    void tabWalksTheDesignedOrderOutOfThePanes();
    void controlTabTypesATab();

    void framesDrawTheirLineThroughTheCaption_data();
    void framesDrawTheirLineThroughTheCaption();
    void greyedShingleLengthIsReadable();
    void controlsAreNamedForScreenReaders();
    void formattingIsNotATextChange();

    void clearAllEmptiesEveryPaneAndRestoresTheTitle();
    void sourcePaneReturnsTo18PointsOnFocus();

    void plainTextKeepsTheCharacters();
    void pastingKeepsNoBreakSpacesAndLineBreaks();
    void copyingGivesLineFeeds_data();
    void copyingGivesLineFeeds();

    void compareShowsTheInitialResult();
    void compareWithTooFewWordsShowsOneMessage_data();
    void compareWithTooFewWordsShowsOneMessage();
    void compareUpdatesTheOpenResultWindow();

    void statisticsFollowTheTextOnTicks_data();
    void statisticsFollowTheTextOnTicks();
    void statisticsLabelsStartAtZero();
    void longFiguresStayApartInsideTheFrame_data();
    void longFiguresStayApartInsideTheFrame();
    void typedFiguresStayApart();
    void statisticsEqualAFreshCountAfterEveryEdit_data();
    void statisticsEqualAFreshCountAfterEveryEdit();
    void keystrokeReadsOnlyItsParagraph();

    void clockShowsTheWorkTimersCaptions();

    void loadsWideThenSplitsOnFirstTick();
    void uncheckedBoxHidesPaneAtNextTick();
    void pointerOverUncheckedBoxShowsPaneUntilTick();
    void pointerOverFrameOnlySplitsWhenChecked();
    void hiddenAuxiliaryPaneKeepsItsText();
};

void tst_Form1::startsWithTheDesign()
{
    QCOMPARE(window->objectName(), QStringLiteral("Form1"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Palimo Suite..."));
    QCOMPARE(window->size(), QSize(873, 665));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(window->frameGeometry().center(), window->screen()->availableGeometry().center());

    QCOMPARE(
        pane("RichTextBox1")->plainText(),
        QStringLiteral("Системы глобального позиционирования обеспечивают непрерывную навигацию "
                       "практически в любой точке земного шара. Недостатками навигационных "
                       "систем GPS служат - недоступность сигнала GPS в бетонных помещениях и в "
                       "условиях сильной облачности."));
    QCOMPARE(pane("RichTextBox2")->plainText(),
             QStringLiteral("Недостатками навигационных систем типа GPS является их практическая "
                            "неприменимость в условиях сильной облачности, а так же в местах с "
                            "отсутствием прямой видимости небосвода\u2026"));
    QCOMPARE(pane("RichTextBox3")->plainText(),
             QStringLiteral("Система GPS позволяет узнавать местоположение объекта в любой точке "
                            "Земли. Высота, широта и долгота\u2026"));
    QVERIFY(pane("RichTextBox1")->font().bold());
    QVERIFY(!pane("RichTextBox2")->font().bold());
    for (const char* name : {"RichTextBox1", "RichTextBox2", "RichTextBox3"}) {
        QCOMPARE(pane(name)->fontSize(), 18.0);
        QCOMPARE(pane(name)->backgroundColour(), ui::Rgb(255, 255, 255));
        QCOMPARE(pane(name)->palette().color(QPalette::Base), QColor(Qt::white));
    }
    QCOMPARE(window->palette().color(QPalette::Window), uitest::DarkGreen());
    QVERIFY(Find<QCheckBox>(window.get(), "Check1")->isChecked());
    QVERIFY(!window->resultWindow());
    QVERIFY(!window->optionsWindow());
}

// Whatever the screen, the window stands whole on it, centred; where the screen leaves less room
// than the design needs, the window takes what there is and the design scrolls inside it,
// unchanged. The test command runs this on screens of several sizes and scales.
void tst_Form1::wholeOnTheScreen()
{
    const QSize design(ui::TwipsToPixels(13095), ui::TwipsToPixels(9975));
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents(); // the scroll bars follow the window's size in posted events
    const QRect available = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    const QString where =
        uitest::Describe(frame) + QStringLiteral(" on ") + uitest::Describe(available);
    QVERIFY2(available.contains(frame), qPrintable(where));

    QScrollArea* area = scrollArea();
    QVERIFY(area);
    QCOMPARE(area->widget()->size(), design);
    QCOMPARE(area->geometry(), window->rect());
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
        QCOMPARE(window->size(), design);

    // The design's top left shows first; the scroll bars' ends show its far edges.
    QCOMPARE(area->widget()->mapTo(viewport, QPoint(0, 0)), QPoint(0, 0));
    area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    QCOMPARE(area->widget()->mapTo(viewport, QPoint(design.width(), design.height())),
             QPoint(viewport->width(), viewport->height()));
}

void tst_Form1::controlsStandWhereDesigned_data()
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

void tst_Form1::controlsStandWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    Tick(window.get(), "Timer2"); // the auxiliary pane shows from the first tick
    QWidget* control = Find(window.get(), name.toLatin1().constData());
    QCOMPARE(control->geometry(), place);
    QCOMPARE(control->toolTip(), toolTip);
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        QCOMPARE(button->text(), text);
    else if (auto* frame = qobject_cast<QGroupBox*>(control))
        QCOMPARE(frame->title(), text);
    else if (auto* field = qobject_cast<QLineEdit*>(control))
        QCOMPARE(field->text(), text);
    else if (auto* caption = qobject_cast<QLabel*>(control))
        QCOMPARE(caption->text(), text);
    QVERIFY(control->isVisible());
}

void tst_Form1::newTextPaneIsFirstAndFocused()
{
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(QApplication::focusWidget(), pane("RichTextBox1"));
    const QStringList designOrder = {"RichTextBox1", "RichTextBox2", "RichTextBox3", "Check1",
                                     "Command1",     "Command3",     "Command4",     "Command5",
                                     "Command6",     "Command2"};
    QCOMPARE(uitest::FocusOrder(window.get(), designOrder), designOrder);
    QCOMPARE(label("Label2")->text(), QStringLiteral("Количество символов(без \" \")/слов"));
    QCOMPARE(label("Label1")->toolTip(), QStringLiteral("Время работы программы."));
    QCOMPARE(label("Label9")->text(), QStringLiteral("Длина шингла"));
}

void tst_Form1::shingleLengthFieldIsFixed()
{
    auto* field = Find<QLineEdit>(window.get(), "Text1");
    QVERIFY(!field->isEnabled());
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClicks(field, "7");
    QCOMPARE(field->text(), QStringLiteral("3"));
}

void tst_Form1::captionMirrorsTheNewText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");
    const QString sixtyOne = QString(61, QLatin1Char('x'));
    QTest::newRow("oneLetter") << QStringLiteral("А") << QStringLiteral("А");
    QTest::newRow("sixtyOneCharacters") << sixtyOne << sixtyOne.left(60);
    QTest::newRow("lineBreakIncluded") << QStringLiteral("Заголовок\nПервая строка текста")
                                       << QStringLiteral("Заголовок\r\nПервая строка текста");
    QTest::newRow("notTrimmed") << QStringLiteral("  два пробела ")
                                << QStringLiteral("  два пробела ");
}

void tst_Form1::captionMirrorsTheNewText()
{
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    ui::TextPane* newText = pane("RichTextBox1");
    newText->replacePlainText(QString());
    QCOMPARE(window->caption(), QString());
    newText->setFocus();
    uitest::TypeText(newText, typed);
    QCOMPARE(window->caption(), caption);
    QCOMPARE(window->windowHandle()->title(), caption);
}

void tst_Form1::captionShowsBracketStarLiterally()
{
    pane("RichTextBox1")->replacePlainText(QStringLiteral("Список [*] дел"));
    QCOMPARE(window->caption(), QStringLiteral("Список [*] дел"));
    QCOMPARE(window->windowHandle()->title(), QStringLiteral("Список [*] дел"));
}

void tst_Form1::emptyCaptionLeavesTheTitleBarEmpty()
{
    // The title bar would show the application's name, or the window manager's "no name", for a
    // title with no characters; one that draws as nothing keeps it empty.
    QCoreApplication::setApplicationName(QStringLiteral("palimo-suite"));
    pane("RichTextBox1")->replacePlainText(QString());
    QCOMPARE(window->caption(), QString());
    QCOMPARE(window->windowHandle()->title(), QStringLiteral("\u200B"));
    uitest::TypeText(pane("RichTextBox1"), QStringLiteral("x"));
    QCOMPARE(window->windowHandle()->title(), QStringLiteral("x"));
}

void tst_Form1::tabWalksTheDesignedOrderOutOfThePanes()
{
    Tick(window.get(), "Timer2"); // the auxiliary pane shows
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const QStringList order = {"RichTextBox1", "RichTextBox2", "RichTextBox3", "Check1",
                               "Command1",     "Command3",     "Command4",     "Command5",
                               "Command6",     "Command2",     "RichTextBox1"};
    const QString before = pane("RichTextBox1")->plainText();
    // Each control the keys reach comes into view where the window scrolls.
    const auto reached = [this] {
        QWidget* focus = QApplication::focusWidget();
        if (!inView(focus))
            return focus->objectName() + QStringLiteral(" out of view");
        return focus->objectName();
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
    for (const char* name : {"RichTextBox1", "RichTextBox2", "RichTextBox3"})
        QVERIFY(!pane(name)->plainText().contains(QLatin1Char('\t')));
    QCOMPARE(pane("RichTextBox1")->plainText(), before);
}

void tst_Form1::controlTabTypesATab()
{
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    ui::TextPane* newText = pane("RichTextBox1");
    newText->replacePlainText(QStringLiteral("ab"));
    newText->setFocus();
    newText->moveCursor(QTextCursor::End);
    QTest::keyClick(newText, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(newText->plainText(), QStringLiteral("ab\t"));
    QCOMPARE(QApplication::focusWidget(), newText);
    QCOMPARE(window->caption(), QStringLiteral("ab\t"));
}

void tst_Form1::framesDrawTheirLineThroughTheCaption_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Frame2") << "Frame2";
    QTest::newRow("Frame1") << "Frame1";
}

void tst_Form1::framesDrawTheirLineThroughTheCaption()
{
    QFETCH(QString, name);
    auto* frame = Find<ui::FrameBox>(window.get(), name.toLatin1().constData());
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

void tst_Form1::greyedShingleLengthIsReadable()
{
    auto* field = Find<QLineEdit>(window.get(), "Text1");
    QVERIFY(!field->isEnabled());
    const QImage image = field->grab().toImage();
    const QRect inner = image.rect().adjusted(3, 3, -3, -3);
    const QColor background = image.pixelColor(inner.right(), inner.center().y());
    QVERIFY(uitest::HighestContrast(image, background, inner) >= 3.0);
    QVERIFY(uitest::Contrast(field->palette().color(QPalette::Disabled, QPalette::Text),
                             field->palette().color(QPalette::Disabled, QPalette::Base)) >= 3.0);
}

void tst_Form1::controlsAreNamedForScreenReaders()
{
    Tick(window.get(), "Timer2");
    const auto name = [](QWidget* control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    QCOMPARE(name(pane("RichTextBox1")), QStringLiteral("Новая статья"));
    QCOMPARE(name(pane("RichTextBox2")), QStringLiteral("Исходная статья"));
    QCOMPARE(name(pane("RichTextBox3")), QStringLiteral("Второй источник"));
    QCOMPARE(name(Find(window.get(), "Text1")), QStringLiteral("Длина шингла"));
    for (auto* control : window->findChildren<QAbstractButton*>())
        QCOMPARE(name(control), control->text());
    for (auto* control : window->findChildren<QLabel*>())
        QCOMPARE(name(control), control->text());
    for (auto* control : window->findChildren<QGroupBox*>())
        QCOMPARE(name(control), control->title());
}

void tst_Form1::formattingIsNotATextChange()
{
    click("Command2");
    QCOMPARE(window->windowTitle(), QStringLiteral("Palimo Suite..."));
    pane("RichTextBox1")->setFontSize(12);
    pane("RichTextBox1")->setBackgroundColour(ui::Rgb(128, 128, 0));
    QCOMPARE(window->windowTitle(), QStringLiteral("Palimo Suite..."));
}

void tst_Form1::clearAllEmptiesEveryPaneAndRestoresTheTitle()
{
    auto* check = Find<QCheckBox>(window.get(), "Check1");
    check->setChecked(false);
    Tick(window.get(), "Timer2");
    QVERIFY(pane("RichTextBox3")->isHidden());
    pane("RichTextBox2")->setFontSize(12);

    pane("RichTextBox1")->replacePlainText(QStringLiteral("текст"));
    QStringList captionsSeen;
    connect(window.get(), &QWidget::windowTitleChanged, this,
            [&captionsSeen](const QString& title) { captionsSeen << title; });
    click("Command2");
    captionsSeen.removeDuplicates(); // an empty title may be reported more than once
    QCOMPARE(captionsSeen,
             QStringList({QString(ui::EmptyTitle), QStringLiteral("Palimo Suite...")}));
    for (const char* name : {"RichTextBox1", "RichTextBox2", "RichTextBox3"})
        QCOMPARE(pane(name)->plainText(), QString());
    QCOMPARE(pane("RichTextBox2")->fontSize(), 12.0);

    check->setChecked(true);
    Tick(window.get(), "Timer2");
    QVERIFY(pane("RichTextBox3")->isVisible());
    QCOMPARE(pane("RichTextBox3")->plainText(), QString());
}

void tst_Form1::sourcePaneReturnsTo18PointsOnFocus()
{
    pane("RichTextBox2")->setFontSize(12);
    pane("RichTextBox3")->setFontSize(12);
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::mouseClick(pane("RichTextBox2")->viewport(), Qt::LeftButton);
    QCOMPARE(pane("RichTextBox2")->fontSize(), 18.0);
    QCOMPARE(pane("RichTextBox3")->fontSize(), 12.0);

    // Every gain of focus, not only the first.
    pane("RichTextBox2")->setFontSize(14);
    pane("RichTextBox1")->setFocus();
    pane("RichTextBox2")->setFocus();
    QCOMPARE(pane("RichTextBox2")->fontSize(), 18.0);
}

void tst_Form1::plainTextKeepsTheCharacters()
{
    const QString text = QStringLiteral("a\u00A0b\tc\r\nd\re\nf \U0001F600");
    ui::TextPane* newText = pane("RichTextBox1");
    newText->replacePlainText(text);
    QCOMPARE(newText->plainText(), QStringLiteral("a\u00A0b\tc\r\nd\r\ne\r\nf \U0001F600"));
    QCOMPARE(newText->leadingPlainText(8), QStringLiteral("a\u00A0b\tc\r\nd"));
    QCOMPARE(newText->leadingPlainText(7), QStringLiteral("a\u00A0b\tc\r\n"));
    QCOMPARE(newText->leadingPlainText(6), QStringLiteral("a\u00A0b\tc\r"));
}

void tst_Form1::pastingKeepsNoBreakSpacesAndLineBreaks()
{
    ui::TextPane* newText = pane("RichTextBox1");
    newText->replacePlainText(QString());
    auto* data = new QMimeData;
    data->setText(QStringLiteral("один\u00A0два\r\nтри"));
    data->setHtml(QStringLiteral("<b style='font-size:40pt'>один два</b>"));
    QApplication::clipboard()->setMimeData(data);
    newText->setFocus();
    newText->paste();
    QCOMPARE(newText->plainText(), QStringLiteral("один\u00A0два\r\nтри"));
    // Pasted text takes the pane's font: a size change reaches all of it.
    newText->setFontSize(11);
    QTextCursor cursor(newText->document());
    cursor.setPosition(2);
    QCOMPARE(QFontInfo(cursor.charFormat().font()).pointSizeF(),
             QFontInfo(newText->font()).pointSizeF());
}

void tst_Form1::copyingGivesLineFeeds_data()
{
    QTest::addColumn<QString>("typed");   // a line feed presses Enter
    QTest::addColumn<bool>("shiftEnter"); // Enter with Shift: a line break inside a paragraph
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("read");   // the pane's plain text
    QTest::addColumn<QString>("copied"); // from the third character to the end
    QTest::addColumn<bool>("cut");

    const QString read = QStringLiteral("один\u00A0два\r\nтри");
    const QString copied = QStringLiteral("ин\u00A0два\nтри");
    QTest::newRow("typedEnter") << QStringLiteral("один\u00A0два\nтри") << false << QString()
                                << read << copied << false;
    QTest::newRow("typedShiftEnter")
        << QStringLiteral("один\u00A0два\nтри") << true << QString() << read << copied << false;
    QTest::newRow("pastedCrLf") << QString() << false << QStringLiteral("один\u00A0два\r\nтри")
                                << read << copied << false;
    QTest::newRow("pastedCr") << QString() << false << QStringLiteral("один\u00A0два\rтри") << read
                              << copied << false;
    QTest::newRow("emptyLineBetween")
        << QString() << false << QStringLiteral("один\n\nтри") << QStringLiteral("один\r\n\r\nтри")
        << QStringLiteral("ин\n\nтри") << false;
    QTest::newRow("cut") << QString() << false << QStringLiteral("один\u00A0два\r\nтри") << read
                         << copied << true;
}

// A pane reads its line breaks as CR LF, but what it puts on the clipboard has the platform's
// LF; pasted back, the text reads as before.
void tst_Form1::copyingGivesLineFeeds()
{
    QFETCH(QString, typed);
    QFETCH(bool, shiftEnter);
    QFETCH(QString, pasted);
    QFETCH(QString, read);
    QFETCH(QString, copied);
    QFETCH(bool, cut);
    ui::TextPane* newText = pane("RichTextBox1");
    newText->replacePlainText(QString());
    newText->setFocus();
    if (!pasted.isNull()) {
        QApplication::clipboard()->setText(pasted);
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

    QTest::keyClick(newText, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(newText, Qt::Key_Right);
    QTest::keyClick(newText, Qt::Key_Right);
    QTest::keyClick(newText, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(newText, cut ? Qt::Key_X : Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), copied);
    QCOMPARE(newText->plainText(), cut ? read.left(2) : read);

    ui::TextPane* source = pane("RichTextBox2");
    source->setFocus();
    QTest::keyClick(source, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(source, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(source->plainText(), read.mid(2));
}

void tst_Form1::compareShowsTheInitialResult()
{
    click("Command4");
    ui::ResultWindow* result = window->resultWindow();
    QVERIFY(result);
    QVERIFY(result->isVisible());
    QVERIFY(window->isEnabled());
    QCOMPARE(result->windowTitle(), QStringLiteral("Текст не уникален"));
    QCOMPARE(Find<QLabel>(result, "Label2")->text(), QStringLiteral(" 8 %. (Длина шингла  3)"));
    QCOMPARE(result->outerHeightTwips(), 2760);
    QCOMPARE(Find<ui::ListingPane>(result, "RichTextBox1")->plainText(),
             QStringLiteral("Недостатками навигационных систем\r\nв условиях сильной\r\n"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Palimo Suite..."));
}

void tst_Form1::compareWithTooFewWordsShowsOneMessage_data()
{
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("source");
    QTest::newRow("newTooShort") << QStringLiteral("Short text here.") << QString();
    QTest::newRow("bothEmpty") << QString() << QStringLiteral("");
    QTest::newRow("fiveWords") << QStringLiteral("one two three four five") << QString();
    QTest::newRow("sourceEmpty") << QStringLiteral("один два три четыре пять шесть семь")
                                 << QStringLiteral("");
}

void tst_Form1::compareWithTooFewWordsShowsOneMessage()
{
    QFETCH(QString, newText);
    QFETCH(QString, source);
    pane("RichTextBox1")->replacePlainText(newText);
    pane("RichTextBox2")
        ->replacePlainText(source.isNull() ? QStringLiteral("The cat sat on the warm mat all day.")
                                           : source);
    const uitest::MessageBoxSeen seen = uitest::AnswerMessageBoxes([this] { click("Command4"); });
    QCOMPARE(seen.count, 1);
    QCOMPARE(seen.title, QStringLiteral("Palimo Suite..."));
    QCOMPARE(seen.text, QStringLiteral("Количество слов меньше длины шингла!"));
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QVERIFY(!window->resultWindow());
    QCOMPARE(pane("RichTextBox1")->plainText(), newText);
}

void tst_Form1::compareUpdatesTheOpenResultWindow()
{
    click("Command4");
    QPointer<ui::ResultWindow> first = window->resultWindow();
    pane("RichTextBox1")
        ->replacePlainText(QStringLiteral("Совсем другой текст без общих слов вообще"));
    click("Command4");
    QCOMPARE(window->resultWindow(), first.data());
    QCOMPARE(first->windowTitle(), QStringLiteral("Текст уникален"));

    // A too-short text leaves the open window as it was.
    pane("RichTextBox1")->replacePlainText(QStringLiteral("два слова"));
    const auto seen = uitest::AnswerMessageBoxes([this] { click("Command4"); });
    QCOMPARE(seen.count, 1);
    QCOMPARE(first->windowTitle(), QStringLiteral("Текст уникален"));
    QCOMPARE(Find<QLabel>(first, "Label2")->text(), QStringLiteral(" 0 %. (Длина шингла  3)"));
}

void tst_Form1::statisticsFollowTheTextOnTicks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("characters");
    QTest::addColumn<QString>("words");
    // The figures themselves are the analysis' own tests; here, that the labels show them: no
    // word shows as an empty label, and a line break typed in the pane counts as its two
    // characters.
    QTest::newRow("empty") << QString() << "0"
                           << "";
    QTest::newRow("lineBreak") << "один\nдва"
                               << "9"
                               << "1";
}

void tst_Form1::statisticsFollowTheTextOnTicks()
{
    QFETCH(QString, text);
    QFETCH(QString, characters);
    QFETCH(QString, words);
    pane("RichTextBox1")->replacePlainText(text);
    Tick(window.get(), "Timer3");
    QCOMPARE(label("Label5")->text(), characters);
    QCOMPARE(label("Label8")->text(), words);
    QCOMPARE(label("Label5")->size(), label("Label5")->sizeHint());
    QCOMPARE(label("Label8")->geometry(), ui::TwipsRect(4200, 480, 375, 255));

    // Typing one more word shows up on the next tick.
    pane("RichTextBox1")->moveCursor(QTextCursor::End);
    uitest::TypeText(pane("RichTextBox1"), QStringLiteral(" слово "));
    Tick(window.get(), "Timer3");
    QCOMPARE(label("Label5")->text(), QString::number(characters.toInt() + 5));
}

void tst_Form1::statisticsLabelsStartAtZero()
{
    ui::MainWindow fresh;
    QCOMPARE(Find<QLabel>(&fresh, "Label5")->text(), QStringLiteral("0"));
    QCOMPARE(Find<QLabel>(&fresh, "Label8")->text(), QStringLiteral("0"));
    Tick(&fresh, "Timer3");
    QCOMPARE(Find<QLabel>(&fresh, "Label5")->text(), QStringLiteral("211"));
    QCOMPARE(Find<QLabel>(&fresh, "Label8")->text(), QStringLiteral("28"));
    QCOMPARE(Find<QTimer>(&fresh, "Timer3")->interval(), 1);
    QVERIFY(Find<QTimer>(&fresh, "Timer3")->isActive());
}

void tst_Form1::longFiguresStayApartInsideTheFrame_data()
{
    QTest::addColumn<QString>("characters");
    QTest::addColumn<QString>("words");
    QTest::addColumn<bool>("designed"); // short figures keep their designed places
    QTest::newRow("start") << "211"
                           << "28" << true;
    QTest::newRow("empty") << "0"
                           << "" << true;
    QTest::newRow("fiveAndFour") << "12808"
                                 << "2000" << false;
    QTest::newRow("sixDigitWords") << "12"
                                   << "123456" << false;
    QTest::newRow("sevenAndSeven") << "8888888"
                                   << "8888888" << false;
    QTest::newRow("sevenWide") << "4444444"
                               << "0000000" << false;
}

void tst_Form1::longFiguresStayApartInsideTheFrame()
{
    QFETCH(QString, characters);
    QFETCH(QString, words);
    QFETCH(bool, designed);
    const ui::FiguresRow figures{label("Label5"), label("Label7"), label("Label8")};
    QLabel* charactersLabel = figures.characters;
    QLabel* slash = figures.slash;
    QLabel* wordsLabel = figures.words;
    auto* frame = Find<ui::FrameBox>(window.get(), "Frame1");
    const QWidget* clear = Find(window.get(), "Command2");
    ui::SetAutoSizedText(charactersLabel, characters);
    wordsLabel->setText(words);
    ui::LayOutFiguresRow(figures, clear);

    const auto textRect = [](QLabel* label) {
        const QRect text = label->fontMetrics().boundingRect(label->text());
        return QRect(label->x(), label->y(), std::max(text.width(), 1), text.height());
    };
    for (QLabel* shown : {charactersLabel, slash, wordsLabel}) {
        QVERIFY2(shown->fontMetrics().horizontalAdvance(shown->text()) <= shown->width(),
                 qPrintable(shown->objectName()));
        QVERIFY(shown->x() > clear->geometry().right());
        // Clear of the frame's line, its last two pixels.
        QVERIFY(shown->geometry().right() < frame->width() - 2);
    }
    QVERIFY(textRect(charactersLabel).right() + 2 < slash->x());
    QVERIFY(slash->geometry().right() + 2 < wordsLabel->x());
    if (designed) {
        QCOMPARE(charactersLabel->pos(), ui::TwipsRect(3720, 480, 0, 0).topLeft());
        QCOMPARE(slash->pos(), ui::TwipsRect(4080, 480, 0, 0).topLeft());
        QCOMPARE(wordsLabel->geometry(), ui::TwipsRect(4200, 480, 375, 255));
    }
}

void tst_Form1::typedFiguresStayApart()
{
    // 2,000 words of six letters: 12,000 characters without spaces and more.
    QString text;
    for (int i = 0; i < 2001; ++i)
        text += QStringLiteral("слово ");
    pane("RichTextBox1")->replacePlainText(text);
    Tick(window.get(), "Timer3");
    QCOMPARE(label("Label5")->text(), QStringLiteral("10005"));
    QCOMPARE(label("Label8")->text(), QStringLiteral("2001"));
    QVERIFY(label("Label5")->geometry().right() + 2 < label("Label7")->x());
    QVERIFY(label("Label7")->geometry().right() + 2 < label("Label8")->x());
    QVERIFY(label("Label8")->fontMetrics().horizontalAdvance(QStringLiteral("2001")) <=
            label("Label8")->width());
}

void tst_Form1::statisticsEqualAFreshCountAfterEveryEdit_data()
{
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 6; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed%1").arg(seed))) << seed;
}

// Edits of every kind through the real pane, each followed by a tick: the labels always show
// what a fresh count of the whole text gives.
void tst_Form1::statisticsEqualAFreshCountAfterEveryEdit()
{
    QFETCH(int, seed);
    QRandomGenerator random(static_cast<quint32>(seed));
    ui::TextPane* newText = pane("RichTextBox1");
    newText->setFocus();
    const QStringList pieces = {QStringLiteral(" "),      QStringLiteral("a"),
                                QStringLiteral("-"),      QStringLiteral("$ "),
                                QStringLiteral("слово "), QStringLiteral("\u00A0"),
                                QStringLiteral("( x"),    QStringLiteral("?")};
    const auto piece = [&] { return pieces[random.bounded(int(pieces.size()))]; };
    const auto moveTo = [&](int position, QTextCursor::MoveMode mode) {
        QTextCursor cursor = newText->textCursor();
        cursor.setPosition(qMin(position, newText->document()->characterCount() - 1), mode);
        newText->setTextCursor(cursor);
    };
    for (int step = 0; step < 150; ++step) {
        const int length = newText->document()->characterCount() - 1;
        switch (random.bounded(12)) {
        case 0:
        case 1:
            moveTo(random.bounded(length + 1), QTextCursor::MoveAnchor);
            uitest::TypeText(newText, piece());
            break;
        case 2:
            QTest::keyClick(newText, Qt::Key_Return);
            break;
        case 3:
            QTest::keyClick(newText, Qt::Key_Return, Qt::ShiftModifier);
            break;
        case 4:
            QTest::keyClick(newText, Qt::Key_Backspace);
            break;
        case 5:
            QTest::keyClick(newText, Qt::Key_Delete);
            break;
        case 6: // a selection across paragraphs, deleted or typed over
            moveTo(random.bounded(length + 1), QTextCursor::MoveAnchor);
            moveTo(random.bounded(length + 1), QTextCursor::KeepAnchor);
            uitest::TypeText(newText, random.bounded(2) ? piece() : QStringLiteral("\n"));
            break;
        case 7:
            QApplication::clipboard()->setText(piece() + QStringLiteral("\r\n") + piece() +
                                               QStringLiteral("\n\n") + piece());
            QTest::keyClick(newText, Qt::Key_V, Qt::ControlModifier);
            break;
        case 8:
            QTest::keyClick(newText, Qt::Key_Z, Qt::ControlModifier);
            break;
        case 9:
            QTest::keyClick(newText, Qt::Key_Y, Qt::ControlModifier);
            break;
        case 10:
            moveTo(random.bounded(length + 1), QTextCursor::MoveAnchor);
            moveTo(random.bounded(length + 1), QTextCursor::KeepAnchor);
            QTest::keyClick(newText, Qt::Key_X, Qt::ControlModifier);
            break;
        default:
            if (random.bounded(4) == 0)
                click("Command2");
            else
                newText->replacePlainText(piece() + QStringLiteral("\r\n") + piece());
            break;
        }
        Tick(window.get(), "Timer3");
        const analysis::TextStatistics fresh =
            analysis::ComputeTextStatistics(ui::ToU16View(newText->plainText()));
        QCOMPARE(label("Label5")->text(), QString::number(fresh.CharactersWithoutSpaces));
        QCOMPARE(label("Label8")->text(),
                 fresh.WordCount == 0 ? QString() : QString::number(fresh.WordCount));
    }
}

// The figures follow a keystroke without reading the text around its paragraph.
void tst_Form1::keystrokeReadsOnlyItsParagraph()
{
    ui::TextPane* newText = pane("RichTextBox1");
    QStringList paragraphs;
    for (int i = 0; i < 2000; ++i)
        paragraphs << QStringLiteral("Абзац номер %1 из книги.").arg(i);
    newText->replacePlainText(paragraphs.join(QStringLiteral("\r\n")));
    auto* statistics = window->findChild<ui::DocumentStatistics*>();
    QVERIFY(statistics);
    QTextCursor cursor = newText->textCursor();
    cursor.setPosition(newText->document()->findBlockByNumber(1000).position());
    newText->setTextCursor(cursor);
    newText->setFocus();
    const std::uint64_t before = statistics->charactersExamined();
    uitest::TypeText(newText, QStringLiteral("x"));
    QCOMPARE(statistics->charactersExamined() - before, quint64(paragraphs[1000].size() + 1));
    Tick(window.get(), "Timer3");
    QCOMPARE(label("Label8")->text(),
             QString::number(
                 analysis::ComputeTextStatistics(ui::ToU16View(newText->plainText())).WordCount));
}

// The captions themselves are the work timer's own tests; here, that the labels show them and
// appear when their field does.
void tst_Form1::clockShowsTheWorkTimersCaptions()
{
    QCOMPARE(Find<QTimer>(window.get(), "Timer1")->interval(), 1000);
    QCOMPARE(label("Label3")->text(), QStringLiteral("00"));
    QVERIFY(label("Label4")->isHidden());
    QVERIFY(label("Label6")->isHidden());
    Tick(window.get(), "Timer1");
    QCOMPARE(label("Label3")->text(), QStringLiteral(" 1c"));
    QVERIFY(label("Label4")->isHidden());
    Tick(window.get(), "Timer1", 3599);
    QCOMPARE(label("Label3")->text(), QStringLiteral(" 00c"));
    QVERIFY(label("Label4")->isVisible());
    QCOMPARE(label("Label4")->text(), QStringLiteral(" 0м"));
    QVERIFY(label("Label6")->isVisible());
    QCOMPARE(label("Label6")->text(), QStringLiteral(" 1ч"));
    QCOMPARE(label("Label6")->pos(), ui::TwipsRect(480, 480, 180, 195).topLeft());
}

void tst_Form1::loadsWideThenSplitsOnFirstTick()
{
    ui::MainWindow fresh;
    QCOMPARE(Find<QTimer>(&fresh, "Timer2")->interval(), 150);
    QCOMPARE(Find<ui::TextPane>(&fresh, "RichTextBox2")->width(), ui::TwipsToPixels(12615));
    QVERIFY(Find<ui::TextPane>(&fresh, "RichTextBox3")->isHidden());
    Tick(&fresh, "Timer2");
    QCOMPARE(Find<ui::TextPane>(&fresh, "RichTextBox2")->width(), ui::TwipsToPixels(6255));
    QVERIFY(!Find<ui::TextPane>(&fresh, "RichTextBox3")->isHidden());
    QCOMPARE(Find<ui::TextPane>(&fresh, "RichTextBox2")->pos(),
             ui::TwipsRect(240, 240, 0, 0).topLeft());
}

void tst_Form1::uncheckedBoxHidesPaneAtNextTick()
{
    Tick(window.get(), "Timer2");
    auto* check = Find<QCheckBox>(window.get(), "Check1");
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(!check->isChecked());
    Tick(window.get(), "Timer2");
    QCOMPARE(pane("RichTextBox2")->width(), ui::TwipsToPixels(12615));
    QVERIFY(pane("RichTextBox3")->isHidden());
    QTest::mouseClick(check, Qt::LeftButton);
    Tick(window.get(), "Timer2");
    QCOMPARE(pane("RichTextBox2")->width(), ui::TwipsToPixels(6255));
    QVERIFY(pane("RichTextBox3")->isVisible());
}

void tst_Form1::pointerOverUncheckedBoxShowsPaneUntilTick()
{
    auto* check = Find<QCheckBox>(window.get(), "Check1");
    check->setChecked(false);
    Tick(window.get(), "Timer2");
    QVERIFY(pane("RichTextBox3")->isHidden());

    uitest::MovePointer(check, QPoint(10, 5));
    QCOMPARE(pane("RichTextBox2")->width(), ui::TwipsToPixels(6255));
    QVERIFY(pane("RichTextBox3")->isVisible());
    Tick(window.get(), "Timer2");
    QCOMPARE(pane("RichTextBox2")->width(), ui::TwipsToPixels(12615));
    QVERIFY(pane("RichTextBox3")->isHidden());

    // Checked: moving over the box changes nothing.
    check->setChecked(true);
    uitest::MovePointer(check, QPoint(12, 6));
    QVERIFY(pane("RichTextBox3")->isHidden());
}

void tst_Form1::pointerOverFrameOnlySplitsWhenChecked()
{
    auto* frame = Find<QGroupBox>(window.get(), "Frame2");
    auto* check = Find<QCheckBox>(window.get(), "Check1");
    const QPoint bare(frame->width() - 4, frame->height() - 4);
    QVERIFY(frame->childAt(bare) == nullptr);

    check->setChecked(false);
    Tick(window.get(), "Timer2");
    uitest::MovePointer(frame, bare);
    QVERIFY(pane("RichTextBox3")->isHidden());

    // Checked, still in the wide layout of the load step: the frame splits the panes.
    ui::MainWindow fresh;
    fresh.show();
    auto* freshFrame = Find<QGroupBox>(&fresh, "Frame2");
    QVERIFY(Find<ui::TextPane>(&fresh, "RichTextBox3")->isHidden());
    uitest::MovePointer(freshFrame, Find<QLineEdit>(&fresh, "Text1")->geometry().center());
    QVERIFY(Find<ui::TextPane>(&fresh, "RichTextBox3")->isHidden());
    uitest::MovePointer(freshFrame, bare);
    QVERIFY(Find<ui::TextPane>(&fresh, "RichTextBox3")->isVisible());
    QCOMPARE(Find<ui::TextPane>(&fresh, "RichTextBox2")->width(), ui::TwipsToPixels(6255));
}

void tst_Form1::hiddenAuxiliaryPaneKeepsItsText()
{
    Tick(window.get(), "Timer2");
    pane("RichTextBox3")->setFocus();
    pane("RichTextBox3")->moveCursor(QTextCursor::End);
    uitest::TypeText(pane("RichTextBox3"), QStringLiteral(" и ещё"));
    const QString typed = pane("RichTextBox3")->plainText();
    auto* check = Find<QCheckBox>(window.get(), "Check1");
    check->setChecked(false);
    Tick(window.get(), "Timer2");
    check->setChecked(true);
    Tick(window.get(), "Timer2");
    QCOMPARE(pane("RichTextBox3")->plainText(), typed);
    QVERIFY(typed.endsWith(QStringLiteral("долгота\u2026 и ещё")));
}

QTEST_MAIN(tst_Form1)
#include "tst_form1.moc"
