// The options window: font sizes of the panes by the sliders, the panes' colour by the swatches,
// what survives its closing and what a palette change reaches.
#include "support/pixels.h"
#include "support/window_test.h"
#include "ui/kit/colour_value.h"
#include "ui/kit/twips.h"
#include "ui/main/main_window.h"
#include "ui/text/text_pane.h"
#include "ui/windows/options_window.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>

using uitest::Find;

class tst_OptionsWindow : public uitest::WindowTest
{
    Q_OBJECT

private:
    ui::TextPane* pane(const char* name) { return control<ui::TextPane>(name); }
    QSlider* slider(const char* name) { return Find<QSlider>(mainWindow()->optionsWindow(), name); }
    QRadioButton* swatch(const char* name)
    {
        return Find<QRadioButton>(mainWindow()->optionsWindow(), name);
    }
    // The colour a swatch or a pane shows, away from the swatch's button and the pane's text.
    QColor colourShown(const QString& name)
    {
        if (name.startsWith(QLatin1String("Option"))) {
            const QImage image = swatch(name.toLatin1().constData())->grab().toImage();
            return image.pixelColor(image.width() - 3, image.height() / 2);
        }
        return uitest::ColourNearTheCorner(pane(name.toLatin1().constData())->viewport());
    }
    static QPoint handleCentre(QSlider* slider)
    {
        return uitest::SliderPart(slider, QStyle::SC_SliderHandle).center();
    }
    // A point on the groove at the given fraction of the slider's width.
    static QPoint onGroove(QSlider* slider, double fraction)
    {
        const QRect groove = uitest::SliderPart(slider, QStyle::SC_SliderGroove);
        return {groove.left() + int(fraction * (groove.width() - 1)), groove.center().y()};
    }

private slots:
    // The auxiliary pane shows, as from the main window's first tick on.
    void init()
    {
        WindowTest::init();
        showAuxiliaryPane(true);
    }

    void opensWithTheDesign();
    void roundFontSizeKeepsFourDecimalsAndHalvesToEven_data();
    void roundFontSizeKeepsFourDecimalsAndHalvesToEven();
    void loadStepReadsThePanes();
    void swatchesShowTheColourThePanesTake_data();
    void swatchesShowTheColourThePanesTake();
    void systemColourFollowsThePalette_data();
    void systemColourFollowsThePalette();
    void sliderTicksShowOnTheDarkGreen_data();
    void sliderTicksShowOnTheDarkGreen();
    void labelsStandAtTheTopOfTheirBoxes();
    void swatchesAreOneStopOfTab();
    void closingKeepsOrResetsTheState_data();
    void closingKeepsOrResetsTheState();
    void sliderClickSetsTheUpperPanes();
    void onlyAClickAppliesTheUpperSize();
    void lowerSliderSetsTheNewTextPane();
};

void tst_OptionsWindow::opensWithTheDesign()
{
    ui::OptionsWindow* window = openOptions();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->objectName(), QStringLiteral("Form2"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Опции..."));
    QCOMPARE(window->size(), QSize(ui::TwipsToPixels(6315), ui::TwipsToPixels(1920)));
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    for (const char* name : {"Slider1", "Slider2"}) {
        QCOMPARE(slider(name)->value(), 18);
        QCOMPARE(slider(name)->minimum(), 10);
        QCOMPARE(slider(name)->maximum(), 21);
        QCOMPARE(slider(name)->singleStep(), 1);
        QCOMPARE(slider(name)->pageStep(), 7);
        QCOMPARE(slider(name)->tickInterval(), 1);
        QVERIFY(slider(name)->tickPosition() != QSlider::NoTicks);
    }
    QVERIFY(swatch("Option2")->isChecked());
    QVERIFY(!swatch("Option1")->isChecked());
    QCOMPARE(Find<QLabel>(window, "Label1")->text(),
             QStringLiteral("Размер шрифта в верхних текстовых окнах:"));
    QCOMPARE(Find<QLabel>(window, "Label2")->text(),
             QStringLiteral("Размер шрифта в рабочем(нижнем) окне:"));
    QCOMPARE(Find<QLabel>(window, "Label3")->text(), QStringLiteral("больше"));
    QCOMPARE(Find<QLabel>(window, "Label5")->text(), QStringLiteral("Цвет текстовых окон:"));
    QCOMPARE(Find<QPushButton>(window, "Command1")->text(), QStringLiteral("Окей"));
    const QStringList order = {"Slider1", "Slider2", "Option1", "Option2", "Option3", "Command1"};
    QCOMPARE(uitest::FocusOrder(window, order), order);

    // A screen reader names the sliders by their labels, and the swatches by their colours.
    const auto name = uitest::AccessibleName;
    QCOMPARE(name(slider("Slider1")), QStringLiteral("Размер шрифта в верхних текстовых окнах:"));
    QCOMPARE(name(slider("Slider2")), QStringLiteral("Размер шрифта в рабочем(нижнем) окне:"));
    for (auto* label : window->findChildren<QLabel*>())
        QCOMPARE(name(label), label->text());
    QCOMPARE(name(Find(window, "Command1")), QStringLiteral("Окей"));
    QCOMPARE(name(swatch("Option1")), QStringLiteral("Серый"));
    QCOMPARE(name(swatch("Option2")), QStringLiteral("Белый"));
    QCOMPARE(name(swatch("Option3")), QStringLiteral("Оливковый"));

    // Made larger, the window moves no control.
    const QRect before = slider("Slider2")->geometry();
    window->resize(window->width() + 200, window->height() + 100);
    QCOMPARE(slider("Slider2")->geometry(), before);
    QCOMPARE(Find(window, "Command1")->geometry(), ui::TwipsRect(4920, 1560, 1215, 255));
}

void tst_OptionsWindow::roundFontSizeKeepsFourDecimalsAndHalvesToEven_data()
{
    QTest::addColumn<qreal>("size");
    QTest::addColumn<int>("position");
    QTest::newRow("12.5") << 12.5 << 12;
    QTest::newRow("13.5") << 13.5 << 14;
    QTest::newRow("14.4") << 14.4 << 14;
    QTest::newRow("14.6") << 14.6 << 15;
    QTest::newRow("20.5") << 20.5 << 20;
    QTest::newRow("12.50004") << 12.50004 << 12;
    QTest::newRow("13.49996") << 13.49996 << 14;
    QTest::newRow("13.4999") << 13.4999 << 13;
}

void tst_OptionsWindow::roundFontSizeKeepsFourDecimalsAndHalvesToEven()
{
    QFETCH(qreal, size);
    QFETCH(int, position);
    QCOMPARE(ui::RoundFontSize(size), position);
}

// The load step: Slider1 from the auxiliary pane, not the first source pane, and Slider2 from the
// new text's, rounded; setting the positions applies nothing.
void tst_OptionsWindow::loadStepReadsThePanes()
{
    sourcePane()->setFontSize(12);
    auxiliaryPane()->setFontSize(14.5);
    newTextPane()->setFontSize(15.5);
    openOptions();
    QCOMPARE(slider("Slider1")->value(), 14);
    QCOMPARE(slider("Slider2")->value(), 16);
    QCOMPARE(sourcePane()->fontSize(), 12.0);
    QCOMPARE(auxiliaryPane()->fontSize(), 14.5);
    QCOMPARE(newTextPane()->fontSize(), 15.5);
}

void tst_OptionsWindow::swatchesShowTheColourThePanesTake_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<ui::ColourValue>("value"); // the panes keep it, a system colour as such
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Option1") << QStringLiteral("Option1") << ui::ColourInactiveBorder
                             << ui::ResolveColour(ui::ColourInactiveBorder,
                                                  QApplication::palette());
    QTest::newRow("Option2") << QStringLiteral("Option2") << ui::Rgb(255, 255, 255)
                             << QColor(255, 255, 255);
    QTest::newRow("Option3") << QStringLiteral("Option3") << ui::Rgb(128, 128, 0)
                             << QColor(128, 128, 0);
}

// Each swatch shows the colour it gives all three panes, the auxiliary one hidden meanwhile too.
void tst_OptionsWindow::swatchesShowTheColourThePanesTake()
{
    QFETCH(QString, name);
    QFETCH(ui::ColourValue, value);
    QFETCH(QColor, colour);
    openOptions();
    QCOMPARE(colourShown(name), colour);
    showAuxiliaryPane(false);
    QVERIFY(pane("RichTextBox3")->isHidden());
    QTest::mouseClick(swatch(name.toLatin1().constData()), Qt::LeftButton);
    const QStringList panes = {"RichTextBox1", "RichTextBox2", "RichTextBox3"};
    for (const QString& shown : panes)
        QCOMPARE(pane(shown.toLatin1().constData())->backgroundColour(), value);
    showAuxiliaryPane(true);
    for (const QString& shown : panes)
        QCOMPARE(colourShown(shown), colour);
}

void tst_OptionsWindow::systemColourFollowsThePalette_data()
{
    QTest::addColumn<QString>("chosen"); // the swatch selected before the change
    QTest::addColumn<QString>("shown");  // the swatch or pane looked at
    QTest::addColumn<bool>("follows");   // else it keeps its colour
    const auto row = [](const char* name, const char* chosen, const char* shown, bool follows) {
        QTest::newRow(name) << QString::fromLatin1(chosen) << QString::fromLatin1(shown) << follows;
    };
    row("Option1", "Option2", "Option1", true);
    row("Option2", "Option2", "Option2", false);
    row("Option3", "Option2", "Option3", false);
    row("newTextPane", "Option1", "RichTextBox1", true);
    row("sourcePane", "Option1", "RichTextBox2", true);
    row("auxiliaryPaneHiddenMeanwhile", "Option1", "RichTextBox3", true);
    row("whitePane", "Option2", "RichTextBox1", false);
}

// The first swatch, and the panes that took its colour, show the platform's colour of the
// moment: a change of the colour scheme while the program runs reaches them.
void tst_OptionsWindow::systemColourFollowsThePalette()
{
    QFETCH(QString, chosen);
    QFETCH(QString, shown);
    QFETCH(bool, follows);
    const bool hiddenMeanwhile = shown == QLatin1String("RichTextBox3");
    openOptions();
    QTest::mouseClick(swatch(chosen.toLatin1().constData()), Qt::LeftButton);
    const QColor before = colourShown(shown);
    const QColor border(201, 17, 99); // no platform's inactive window face
    QVERIFY(before != border);
    if (hiddenMeanwhile) {
        showAuxiliaryPane(false);
        QVERIFY(pane("RichTextBox3")->isHidden());
    }

    QPalette changed = QApplication::palette();
    changed.setColor(QPalette::Inactive, QPalette::Window, border);
    const uitest::ScopedApplicationPalette scheme(changed);
    if (hiddenMeanwhile) {
        showAuxiliaryPane(true);
        QVERIFY(pane("RichTextBox3")->isVisible());
    }
    QCOMPARE(colourShown(shown), follows ? border : before);
}

void tst_OptionsWindow::sliderTicksShowOnTheDarkGreen_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"Slider1", "Slider2"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_OptionsWindow::sliderTicksShowOnTheDarkGreen()
{
    QFETCH(QString, name);
    openOptions();
    QSlider* shown = slider(name.toLatin1().constData());
    // Below the groove and away from the thumb, only the ticks are drawn on the slider's face.
    shown->setValue(shown->maximum());
    const QRect groove = uitest::SliderPart(shown, QStyle::SC_SliderGroove);
    const QRect handle = uitest::SliderPart(shown, QStyle::SC_SliderHandle);
    const QRect ticks(groove.left(), handle.bottom() + 1, handle.left() - groove.left() - 1,
                      shown->height() - handle.bottom() - 1);
    QVERIFY(ticks.isValid());
    // As the window shows it, with whatever lies behind the slider.
    const QImage image = mainWindow()->optionsWindow()->grab(shown->geometry()).toImage();
    const QColor face = image.pixelColor(ticks.left() + 1, ticks.bottom());
    int visibleColumns = 0;
    for (int x = ticks.left(); x <= ticks.right(); ++x) {
        if (uitest::HighestContrast(image, face, QRect(x, ticks.top(), 1, ticks.height())) >= 3)
            ++visibleColumns;
    }
    // A tick at every position but the thumb's.
    QVERIFY2(visibleColumns >= shown->maximum() - shown->minimum(),
             qPrintable(QString::number(visibleColumns)));
}

// Two lines high, the labels stand their text at the top of their boxes.
void tst_OptionsWindow::labelsStandAtTheTopOfTheirBoxes()
{
    ui::OptionsWindow* window = openOptions();
    for (const char* name : {"Label2", "Label5"}) {
        auto* label = Find<QLabel>(window, name);
        const QFontMetrics metrics = label->fontMetrics();
        QVERIFY(label->height() > 2 * metrics.height() - 4);
        QVERIFY2(uitest::InkOnDarkGreen(label).top() <= metrics.ascent() - metrics.capHeight() + 1,
                 name);
    }
}

// The swatches are one stop of Tab, at the selected one; the arrows choose among them.
void tst_OptionsWindow::swatchesAreOneStopOfTab()
{
    ui::OptionsWindow* window = openOptions();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    slider("Slider2")->setFocus();
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        return QApplication::focusWidget()->objectName();
    };
    QCOMPARE(press(Qt::Key_Tab), QStringLiteral("Option2"));
    QCOMPARE(press(Qt::Key_Right), QStringLiteral("Option3"));
    QVERIFY(swatch("Option3")->isChecked());
    QCOMPARE(pane("RichTextBox1")->backgroundColour(), ui::Rgb(128, 128, 0));
    QCOMPARE(press(Qt::Key_Tab), QStringLiteral("Command1"));
    QCOMPARE(press(Qt::Key_Backtab, Qt::ShiftModifier), QStringLiteral("Option3"));
    QCOMPARE(press(Qt::Key_Backtab, Qt::ShiftModifier), QStringLiteral("Slider2"));
}

void tst_OptionsWindow::closingKeepsOrResetsTheState_data()
{
    QTest::addColumn<bool>("byCloseBox"); // else by "Окей"
    QTest::addColumn<QString>("checked"); // the swatch checked when it opens again
    QTest::addColumn<int>("upperSize");   // Slider1's position then
    // The close box ends the window: the next is made afresh, with the load step; "Окей" hides it
    // as it is.
    QTest::newRow("closeBox") << true << QStringLiteral("Option2") << 13;
    QTest::newRow("ok") << false << QStringLiteral("Option3") << 12;
}

// Whichever way it closes, the panes keep the colour chosen.
void tst_OptionsWindow::closingKeepsOrResetsTheState()
{
    QFETCH(bool, byCloseBox);
    QFETCH(QString, checked);
    QFETCH(int, upperSize);
    ui::OptionsWindow* window = openOptions();
    QTest::mouseClick(swatch("Option3"), Qt::LeftButton);
    slider("Slider1")->setValue(12);
    if (byCloseBox)
        window->close();
    else
        uitest::Click(window, "Command1");
    uitest::DiscardClosedWindows();
    pane("RichTextBox3")->setFontSize(13);
    openOptions();
    QVERIFY(swatch(checked.toLatin1().constData())->isChecked());
    QCOMPARE(slider("Slider1")->value(), upperSize);
    QCOMPARE(pane("RichTextBox1")->backgroundColour(), ui::Rgb(128, 128, 0));
}

void tst_OptionsWindow::sliderClickSetsTheUpperPanes()
{
    openOptions();
    QSlider* upper = slider("Slider1");
    QTest::mouseClick(upper, Qt::LeftButton, {}, onGroove(upper, 0.02));
    QVERIFY(upper->value() < 18);
    QCOMPARE(pane("RichTextBox3")->fontSize(), qreal(upper->value()));
    QCOMPARE(pane("RichTextBox2")->fontSize(), qreal(upper->value()));
    QCOMPARE(pane("RichTextBox1")->fontSize(), 18.0);
}

// The arrow keys move the thumb and apply nothing; a click on the thumb applies its size to the
// upper panes, whatever they had meanwhile, and moves it not.
void tst_OptionsWindow::onlyAClickAppliesTheUpperSize()
{
    openOptions();
    QSlider* upper = slider("Slider1");
    upper->setFocus();
    QTest::keyClick(upper, Qt::Key_Left);
    QTest::keyClick(upper, Qt::Key_Left);
    QCOMPARE(upper->value(), 16);
    QCOMPARE(pane("RichTextBox3")->fontSize(), 18.0);
    pane("RichTextBox2")->setFontSize(11);
    QTest::mouseClick(upper, Qt::LeftButton, {}, handleCentre(upper));
    QCOMPARE(upper->value(), 16);
    QCOMPARE(pane("RichTextBox3")->fontSize(), 16.0);
    QCOMPARE(pane("RichTextBox2")->fontSize(), 16.0);
}

void tst_OptionsWindow::lowerSliderSetsTheNewTextPane()
{
    openOptions();
    QSlider* lower = slider("Slider2");
    QTest::mouseClick(lower, Qt::LeftButton, {}, onGroove(lower, 0.98));
    QCOMPARE(lower->value(), 21);
    QCOMPARE(pane("RichTextBox1")->fontSize(), 21.0);
    QVERIFY(pane("RichTextBox1")->font().bold());
    QCOMPARE(pane("RichTextBox2")->fontSize(), 18.0);
    QCOMPARE(mainWindow()->caption(), QStringLiteral("Palimo Suite..."));
}

QTEST_MAIN(tst_OptionsWindow)
#include "tst_options_window.moc"
