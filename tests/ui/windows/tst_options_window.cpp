// The options window: font sizes of the panes by the sliders, the panes' colour by the swatches,
// what survives its closing and what a palette change reaches.
#include "support/pixels.h"
#include "support/window_test.h"
#include "ui/kit/colour_value.h"
#include "ui/kit/twips.h"
#include "ui/main/main_window.h"
#include "ui/text/text_pane.h"
#include "ui/windows/options_window.h"

#include <QAccessible>
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
        const QImage drawn = pane(name.toLatin1().constData())->viewport()->grab().toImage();
        return drawn.pixelColor(drawn.width() - 4, drawn.height() - 4);
    }
    void closeByCloseBox()
    {
        mainWindow()->optionsWindow()->close();
        uitest::DiscardClosedWindows();
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
    void swatchColoursAllThreePanesHiddenToo();
    void systemColourFollowsThePalette_data();
    void systemColourFollowsThePalette();
    void sliderTicksShowOnTheDarkGreen_data();
    void sliderTicksShowOnTheDarkGreen();
    void labelsStandAtTheTopOfTheirBoxes();
    void slidersAreNamedByTheirLabels();
    void swatchesAreOneStopOfTab();
    void closeBoxRecreatesWithWhiteSelected();
    void okKeepsTheState();
    void sliderClickSetsTheUpperPanes();
    void clickOnTheThumbReappliesItsSize();
    void keyboardMovesApplyNothingUntilAClick();
    void lowerSliderSetsTheNewTextPane();
    void resizingMovesNoControl();
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
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Option1") << "Option1"
                             << ui::ResolveColour(ui::ColourInactiveBorder,
                                                  QApplication::palette());
    QTest::newRow("Option2") << "Option2" << QColor(255, 255, 255);
    QTest::newRow("Option3") << "Option3" << QColor(128, 128, 0);
}

void tst_OptionsWindow::swatchesShowTheColourThePanesTake()
{
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    openOptions();
    QCOMPARE(colourShown(name), colour);
    QTest::mouseClick(swatch(name.toLatin1().constData()), Qt::LeftButton);
    for (const char* pane : {"RichTextBox1", "RichTextBox2", "RichTextBox3"})
        QCOMPARE(colourShown(QString::fromLatin1(pane)), colour);
}

void tst_OptionsWindow::swatchColoursAllThreePanesHiddenToo()
{
    showAuxiliaryPane(false);
    QVERIFY(pane("RichTextBox3")->isHidden());
    openOptions();
    QTest::mouseClick(swatch("Option3"), Qt::LeftButton);
    for (const char* name : {"RichTextBox1", "RichTextBox2", "RichTextBox3"}) {
        QCOMPARE(pane(name)->backgroundColour(), ui::Rgb(128, 128, 0));
        QCOMPARE(pane(name)->palette().color(QPalette::Base), QColor(128, 128, 0));
    }
    QTest::mouseClick(swatch("Option1"), Qt::LeftButton);
    QCOMPARE(pane("RichTextBox3")->backgroundColour(), ui::ColourInactiveBorder);
}

void tst_OptionsWindow::systemColourFollowsThePalette_data()
{
    QTest::addColumn<QString>("chosen"); // the swatch selected before the change
    QTest::addColumn<QString>("shown");  // the swatch or pane looked at
    QTest::addColumn<bool>("follows");   // else it keeps its colour
    QTest::newRow("Option1") << "Option2"
                             << "Option1" << true;
    QTest::newRow("Option2") << "Option2"
                             << "Option2" << false;
    QTest::newRow("Option3") << "Option2"
                             << "Option3" << false;
    QTest::newRow("newTextPane") << "Option1"
                                 << "RichTextBox1" << true;
    QTest::newRow("sourcePane") << "Option1"
                                << "RichTextBox2" << true;
    QTest::newRow("auxiliaryPaneHiddenMeanwhile") << "Option1"
                                                  << "RichTextBox3" << true;
    QTest::newRow("whitePane") << "Option2"
                               << "RichTextBox1" << false;
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
    if (!follows) {
        QCOMPARE(colourShown(shown), before);
        return;
    }
    QCOMPARE(colourShown(shown), border);
}

void tst_OptionsWindow::sliderTicksShowOnTheDarkGreen_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Slider1") << "Slider1";
    QTest::newRow("Slider2") << "Slider2";
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

void tst_OptionsWindow::labelsStandAtTheTopOfTheirBoxes()
{
    ui::OptionsWindow* window = openOptions();
    for (const char* name : {"Label2", "Label5"}) {
        auto* label = Find<QLabel>(window, name);
        QVERIFY(label->height() > 2 * label->fontMetrics().height() - 4);
        const QPixmap drawn = label->grab();
        const QRect ink = uitest::InkBounds(drawn.toImage(), uitest::DarkGreen());
        // In logical pixels, whatever the scale factor.
        const qreal top = ink.top() / drawn.devicePixelRatio();
        QVERIFY2(top <= label->fontMetrics().ascent() - label->fontMetrics().capHeight() + 1, name);
    }
}

void tst_OptionsWindow::slidersAreNamedByTheirLabels()
{
    ui::OptionsWindow* window = openOptions();
    const auto name = [](QWidget* control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    QCOMPARE(name(slider("Slider1")), QStringLiteral("Размер шрифта в верхних текстовых окнах:"));
    QCOMPARE(name(slider("Slider2")), QStringLiteral("Размер шрифта в рабочем(нижнем) окне:"));
    for (auto* label : window->findChildren<QLabel*>())
        QCOMPARE(name(label), label->text());
    QCOMPARE(name(Find(window, "Command1")), QStringLiteral("Окей"));
    QCOMPARE(name(swatch("Option1")), QStringLiteral("Серый"));
    QCOMPARE(name(swatch("Option2")), QStringLiteral("Белый"));
    QCOMPARE(name(swatch("Option3")), QStringLiteral("Оливковый"));
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

void tst_OptionsWindow::closeBoxRecreatesWithWhiteSelected()
{
    openOptions();
    QTest::mouseClick(swatch("Option3"), Qt::LeftButton);
    closeByCloseBox();
    pane("RichTextBox3")->setFontSize(13);
    openOptions();
    QVERIFY(swatch("Option2")->isChecked());
    QCOMPARE(slider("Slider1")->value(), 13);
    QCOMPARE(pane("RichTextBox1")->backgroundColour(), ui::Rgb(128, 128, 0));
}

void tst_OptionsWindow::okKeepsTheState()
{
    ui::OptionsWindow* window = openOptions();
    QTest::mouseClick(swatch("Option1"), Qt::LeftButton);
    slider("Slider1")->setValue(12);
    uitest::Click(window, "Command1");

    pane("RichTextBox3")->setFontSize(20);
    openOptions();
    QCOMPARE(slider("Slider1")->value(), 12); // no second load step
    QVERIFY(swatch("Option1")->isChecked());
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

void tst_OptionsWindow::clickOnTheThumbReappliesItsSize()
{
    openOptions();
    pane("RichTextBox2")->setFontSize(11);
    QSlider* upper = slider("Slider1");
    QTest::mouseClick(upper, Qt::LeftButton, {}, handleCentre(upper));
    QCOMPARE(upper->value(), 18);
    QCOMPARE(pane("RichTextBox2")->fontSize(), 18.0);
}

void tst_OptionsWindow::keyboardMovesApplyNothingUntilAClick()
{
    openOptions();
    QSlider* upper = slider("Slider1");
    upper->setFocus();
    QTest::keyClick(upper, Qt::Key_Left);
    QTest::keyClick(upper, Qt::Key_Left);
    QCOMPARE(upper->value(), 16);
    QCOMPARE(pane("RichTextBox3")->fontSize(), 18.0);
    QTest::mouseClick(upper, Qt::LeftButton, {}, handleCentre(upper));
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

void tst_OptionsWindow::resizingMovesNoControl()
{
    ui::OptionsWindow* window = openOptions();
    const QRect before = slider("Slider2")->geometry();
    window->resize(window->width() + 200, window->height() + 100);
    QCOMPARE(slider("Slider2")->geometry(), before);
    QCOMPARE(Find(window, "Command1")->geometry(), ui::TwipsRect(4920, 1560, 1215, 255));
}

QTEST_MAIN(tst_OptionsWindow)
#include "tst_options_window.moc"
