// Renders every window to PNG and checks that no caption is clipped in its designed box, with
// the fonts that the run command installs.
#include "support/caption_place.h"
#include "support/pixels.h"
#include "support/widgets.h"
#include "ui/main/main_window.h"
#include "ui/windows/about_window.h"
#include "ui/windows/help_window.h"
#include "ui/windows/options_window.h"
#include "ui/windows/result_window.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class tst_LayoutFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void captionsFit_data();
    void captionsFit();
    void cleanupTestCase();

private:
    std::unique_ptr<ui::MainWindow> mainWindow_;
    QList<QWidget*> windows() const;
};

void tst_LayoutFit::initTestCase()
{
    mainWindow_ = std::make_unique<ui::MainWindow>();
    mainWindow_->show();
    uitest::Tick(mainWindow_.get(), "Timer2");
    uitest::Tick(mainWindow_.get(), "Timer3");
    uitest::Tick(mainWindow_.get(), "Timer1", 3661);
    for (const char* button : {"Command4", "Command3", "Command5", "Command6"})
        uitest::Find<QPushButton>(mainWindow_.get(), button)->click();
}

QList<QWidget*> tst_LayoutFit::windows() const
{
    return {mainWindow_.get(), mainWindow_->resultWindow(), mainWindow_->optionsWindow(),
            mainWindow_->helpWindow(), mainWindow_->aboutWindow()};
}

void tst_LayoutFit::captionsFit_data()
{
    QTest::addColumn<QWidget*>("control");
    for (QWidget* window : windows()) {
        QVERIFY(window);
        const auto add = [window](QWidget* control) {
            if (!uitest::CaptionText(control).isEmpty() && control->isVisibleTo(window) &&
                control->y() < window->height())
                QTest::addRow("%s/%s", qPrintable(window->objectName()),
                              qPrintable(control->objectName()))
                    << control;
        };
        for (auto* label : window->findChildren<QLabel*>())
            add(label);
        for (auto* button : window->findChildren<QAbstractButton*>())
            add(button);
        for (auto* frame : window->findChildren<QGroupBox*>())
            add(frame);
    }
}

void tst_LayoutFit::captionsFit()
{
    QFETCH(QWidget*, control);
    const QRect needed = uitest::CaptionPlace(control);
    QVERIFY2(control->rect().contains(needed),
             qPrintable(QStringLiteral("«%1» needs %2, has %3")
                            .arg(uitest::CaptionText(control), uitest::Describe(needed),
                                 uitest::Describe(control->rect()))));
}

void tst_LayoutFit::cleanupTestCase()
{
    // The renderings, for a reviewer's eye.
    for (QWidget* window : windows())
        QVERIFY(window->grab().save(QDir::current().filePath(window->objectName() + ".png")));
    mainWindow_.reset();
}

QTEST_MAIN(tst_LayoutFit)
#include "tst_layout_fit.moc"
