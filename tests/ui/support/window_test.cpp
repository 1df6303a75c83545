#include "window_test.h"

#include <QApplication>
#include <QCheckBox>
#include <QTest>

namespace uitest {

namespace {

// The top-level windows still there once the closed ones are deleted, as "Class/objectName":
// every window that is shown, and every hidden one that is not Qt's own (a tool tip label kept
// for reuse). A test that leaves one behind would hand its state to the next.
QStringList WindowsLeftBehind()
{
    DiscardClosedWindows();
    QStringList left;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        const bool qtsOwn = window->objectName().startsWith(QLatin1String("qt"));
        if (window->isVisible() || !qtsOwn)
            left << QStringLiteral("%1/%2").arg(QLatin1String(window->metaObject()->className()),
                                                window->objectName());
    }
    return left;
}

} // namespace

void WindowTest::showAuxiliaryPane(bool shown) const
{
    control<QCheckBox>("Check1")->setChecked(shown);
    tick("Timer2");
}

ui::ResultWindow* WindowTest::compare() const
{
    AnswerMessageBoxes([this] { click("Command4"); });
    return mainWindow_->resultWindow();
}

ui::OptionsWindow* WindowTest::openOptions() const
{
    click("Command6");
    return mainWindow_->optionsWindow();
}

ui::HelpWindow* WindowTest::openHelp() const
{
    click("Command3");
    return mainWindow_->helpWindow();
}

ui::AboutWindow* WindowTest::openAbout() const
{
    click("Command5");
    return mainWindow_->aboutWindow();
}

void WindowTest::init()
{
    mainWindow_ = std::make_unique<ui::MainWindow>();
    mainWindow_->show();
}

void WindowTest::cleanup()
{
    mainWindow_.reset();
    const QStringList left = WindowsLeftBehind();
    QVERIFY2(left.isEmpty(),
             qPrintable(QStringLiteral("left behind: ") + left.join(QLatin1String(", "))));
}

} // namespace uitest
