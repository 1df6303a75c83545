// Renders every window to PNG and checks that no caption is clipped in its designed box, with
// the fonts that the run command installs.
#include "support/ui_test_support.h"
#include "ui/main/main_window.h"
#include "ui/windows/about_window.h"
#include "ui/windows/help_window.h"
#include "ui/windows/options_window.h"
#include "ui/windows/result_window.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

class tst_LayoutFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void captionsFit_data();
    void captionsFit();
    void cleanupTestCase();

private:
    std::unique_ptr<ui::MainWindow> mainWindow;
    QList<QWidget*> windows() const;
};

namespace {

// Room a control's text needs beside the text itself, as the style draws it.
QSize NeededSize(const QWidget* control, const QString& text)
{
    const QFontMetrics metrics = control->fontMetrics();
    const QSize textSize(metrics.horizontalAdvance(text), metrics.height());
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        return {textSize.width() + margin, textSize.height()};
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(control)) {
        const int indicator =
            check->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check);
        const int spacing =
            check->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, check);
        return {textSize.width() + indicator + spacing, textSize.height()};
    }
    return textSize;
}

} // namespace

void tst_LayoutFit::initTestCase()
{
    mainWindow = std::make_unique<ui::MainWindow>();
    mainWindow->show();
    uitest::Tick(mainWindow.get(), "Timer2");
    uitest::Tick(mainWindow.get(), "Timer3");
    uitest::Tick(mainWindow.get(), "Timer1", 3661);
    for (const char* button : {"Command4", "Command3", "Command5", "Command6"})
        uitest::Find<QPushButton>(mainWindow.get(), button)->click();
}

QList<QWidget*> tst_LayoutFit::windows() const
{
    return {mainWindow.get(), mainWindow->resultWindow(), mainWindow->optionsWindow(),
            mainWindow->helpWindow(), mainWindow->aboutWindow()};
}

void tst_LayoutFit::captionsFit_data()
{
    QTest::addColumn<QWidget*>("control");
    QTest::addColumn<QString>("text");
    for (QWidget* window : windows()) {
        QVERIFY(window);
        const auto add = [window](QWidget* control, const QString& text) {
            if (!text.isEmpty() && control->isVisibleTo(window) && control->y() < window->height())
                QTest::addRow("%s/%s", qPrintable(window->objectName()),
                              qPrintable(control->objectName()))
                    << control << text;
        };
        for (auto* label : window->findChildren<QLabel*>())
            add(label, label->text());
        for (auto* button : window->findChildren<QAbstractButton*>())
            add(button, button->text());
        for (auto* frame : window->findChildren<QGroupBox*>())
            add(frame, frame->title());
    }
}

void tst_LayoutFit::captionsFit()
{
    QFETCH(QWidget*, control);
    QFETCH(QString, text);
    const QSize needed = NeededSize(control, text);
    QVERIFY2(needed.width() <= control->width() && needed.height() <= control->height(),
             qPrintable(QStringLiteral("«%1» needs %2x%3, has %4x%5")
                            .arg(text)
                            .arg(needed.width())
                            .arg(needed.height())
                            .arg(control->width())
                            .arg(control->height())));
}

void tst_LayoutFit::cleanupTestCase()
{
    // The renderings, for a reviewer's eye.
    for (QWidget* window : windows())
        QVERIFY(window->grab().save(QDir::current().filePath(window->objectName() + ".png")));
    mainWindow.reset();
}

QTEST_MAIN(tst_LayoutFit)
#include "tst_layout_fit.moc"
