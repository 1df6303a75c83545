// The life of the secondary windows, opened by the main window's buttons: at most one of each
// kind, where they open, their icons, and what their own buttons, keys and close boxes do to them.
#include "support/pixels.h"
#include "support/window_test.h"
#include "ui/main/main_window.h"
#include "ui/windows/about_window.h"
#include "ui/windows/help_window.h"
#include "ui/windows/options_window.h"
#include "ui/windows/result_window.h"

#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

#include <array>

using uitest::Find;

class tst_WindowLifecycle : public uitest::WindowTest
{
    Q_OBJECT

private:
    // The window the main window holds under that design name, null while there is none.
    QWidget* held(const QString& name) const
    {
        if (name == QLatin1String("Form2"))
            return mainWindow()->optionsWindow();
        if (name == QLatin1String("Form3"))
            return mainWindow()->helpWindow();
        if (name == QLatin1String("Form4"))
            return mainWindow()->resultWindow();
        if (name == QLatin1String("frmAbout"))
            return mainWindow()->aboutWindow();
        qFatal("no window named %s", qPrintable(name));
    }
    // By a click on the opener, or by `key` with the focus on it.
    QWidget* open(const QString& opener, const QString& name, int key = 0)
    {
        if (key == 0) {
            click(opener.toLatin1().constData());
        } else {
            // Reached by Tab, as a writer who moves by the keys reaches it.
            QWidget* button = Find(mainWindow(), opener.toLatin1().constData());
            if (!QTest::qWaitForWindowActive(mainWindow()) || !uitest::TabTo(button))
                return nullptr;
            QTest::keyClick(button, Qt::Key(key));
        }
        return held(name);
    }
    static int topLevelWindowsNamed(const QString& name)
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return int(std::count_if(windows.begin(), windows.end(),
                                 [&name](const QWidget* w) { return w->objectName() == name; }));
    }
    // Each secondary window: the main window's button that opens it, and its own "Окей".
    static void addWindowColumns()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("okButton");
    }
    // One row a secondary window.
    static void addEveryWindow()
    {
        addWindowColumns();
        for (const auto& [opener, name, okButton] : {std::array{"Command6", "Form2", "Command1"},
                                                     std::array{"Command3", "Form3", "Command1"},
                                                     std::array{"Command4", "Form4", "Command1"},
                                                     std::array{"Command5", "frmAbout", "cmdOK"}})
            QTest::newRow(name) << QString::fromLatin1(opener) << QString::fromLatin1(name)
                                << QString::fromLatin1(okButton);
    }

private slots:
    void opensOnceWholeAndClearOfTheMainTitleBar_data();
    void opensOnceWholeAndClearOfTheMainTitleBar();
    void closingHidesOrDestroys_data();
    void closingHidesOrDestroys();
    void closingOneLeavesTheOthers_data();
    void closingOneLeavesTheOthers();
    void exitClosesEveryWindow();
};

void tst_WindowLifecycle::opensOnceWholeAndClearOfTheMainTitleBar_data()
{
    addEveryWindow();
}

// A second click makes no second copy; beside the main window, which stays usable, the window
// stands whole on every screen (the test command runs this on several), whatever room the main
// window takes. It carries the design's icon, the result window none at all.
void tst_WindowLifecycle::opensOnceWholeAndClearOfTheMainTitleBar()
{
    QFETCH(QString, opener);
    QFETCH(QString, name);
    // As the program sets it up: an application icon that a window without its own would show.
    QPixmap applicationIcon(16, 16);
    applicationIcon.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(applicationIcon));
    const auto noApplicationIcon = qScopeGuard([] { QApplication::setWindowIcon(QIcon()); });

    QVERIFY(!held(name));
    QPointer<QWidget> window = open(opener, name);
    QVERIFY(window);
    QCOMPARE(window->objectName(), name);
    QVERIFY(window->isWindow());
    QCOMPARE(open(opener, name), window.data());
    QVERIFY(window->isVisible());
    QCOMPARE(topLevelWindowsNamed(name), 1);
    QVERIFY(mainWindow()->isEnabled());
    QVERIFY(!QApplication::activeModalWidget());
    if (name == QLatin1String("Form4"))
        QVERIFY(window->windowIcon().isNull());
    else
        QCOMPARE(window->windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));

    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect available = window->screen()->availableGeometry();
    const QRect mainFrame = mainWindow()->frameGeometry();
    const QRect titleBar(mainFrame.topLeft(),
                         QSize(mainFrame.width(), mainWindow()->geometry().y() - mainFrame.y()));
    const QRect placed = window->frameGeometry();
    const QString where = uitest::Describe(placed) + QStringLiteral(", the main window ") +
                          uitest::Describe(mainFrame);
    QVERIFY2(available.contains(mainFrame), qPrintable(where));
    QVERIFY2(available.contains(placed), qPrintable(where));
    QVERIFY2(!placed.intersects(titleBar), qPrintable(where));
}

void tst_WindowLifecycle::closingHidesOrDestroys_data()
{
    addWindowColumns();
    // The key pressed with the focus on the "Окей" button, if any; else the window's close box,
    // or a click on "Окей". Destroyed, or else hidden and shown again with its state. Enter
    // presses a focused button in every window, as Space does: it opens the window too.
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("byCloseBox");
    QTest::addColumn<bool>("destroyed");

    const auto row = [](const char* title, const char* opener, const char* name,
                        const char* okButton, int key, bool byCloseBox, bool destroyed) {
        QTest::newRow(title) << QString::fromLatin1(opener) << QString::fromLatin1(name)
                             << QString::fromLatin1(okButton) << key << byCloseBox << destroyed;
    };
    row("Form2 ok", "Command6", "Form2", "Command1", 0, false, false);
    row("Form2 enter", "Command6", "Form2", "Command1", Qt::Key_Return, false, false);
    row("Form3 enter", "Command3", "Form3", "Command1", Qt::Key_Return, false, true);
    row("Form4 enter", "Command4", "Form4", "Command1", Qt::Key_Enter, false, true);
    row("Form2 closeBox", "Command6", "Form2", "Command1", 0, true, true);
    row("Form3 ok", "Command3", "Form3", "Command1", 0, false, true);
    row("Form3 closeBox", "Command3", "Form3", "Command1", 0, true, true);
    row("Form4 ok", "Command4", "Form4", "Command1", 0, false, true);
    row("Form4 closeBox", "Command4", "Form4", "Command1", 0, true, true);
    row("Form4 escape", "Command4", "Form4", "Command1", Qt::Key_Escape, false, true);
    row("frmAbout ok", "Command5", "frmAbout", "cmdOK", 0, false, true);
    row("frmAbout closeBox", "Command5", "frmAbout", "cmdOK", 0, true, true);
    row("frmAbout escape", "Command5", "frmAbout", "cmdOK", Qt::Key_Escape, false, true);
    row("frmAbout enter", "Command5", "frmAbout", "cmdOK", Qt::Key_Return, false, true);
    row("frmAbout keypadEnter", "Command5", "frmAbout", "cmdOK", Qt::Key_Enter, false, true);
}

void tst_WindowLifecycle::closingHidesOrDestroys()
{
    QFETCH(QString, opener);
    QFETCH(QString, name);
    QFETCH(QString, okButton);
    QFETCH(int, key);
    QFETCH(bool, byCloseBox);
    QFETCH(bool, destroyed);

    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    QPointer<QWidget> window = open(opener, name, enter ? key : 0);
    QVERIFY(window);
    if (byCloseBox) {
        window->close();
    } else if (key != 0) {
        // A secondary window counts as active while its owner is; the keys go to it once it
        // is the application's active window.
        QTRY_COMPARE(QApplication::activeWindow(), window.data());
        if (enter) {
            // Opened by the keys, the window shows where they are from the start.
            QStyleOption focus;
            focus.initFrom(QApplication::focusWidget());
            QVERIFY(focus.state & QStyle::State_KeyboardFocusChange);
        }
        // The button that answers the key: first in the window's tab order, which gives it the
        // focus when the window opens, or reached by Tab.
        QWidget* button = Find(window.data(), okButton.toLatin1().constData());
        QVERIFY(uitest::TabTo(button, 12));
        QTest::keyClick(button, Qt::Key(key));
    } else {
        uitest::Click(window.data(), okButton.toLatin1().constData());
    }
    uitest::DiscardClosedWindows();
    QVERIFY(mainWindow()->isVisible());

    if (destroyed) {
        QVERIFY(!window);
        QVERIFY(!held(name));
        QCOMPARE(topLevelWindowsNamed(name), 0);
        // The next click makes it afresh.
        QPointer<QWidget> again = open(opener, name);
        QVERIFY(again);
        QVERIFY(again->isVisible());
    } else {
        QVERIFY(window);
        QVERIFY(window->isHidden());
        QCOMPARE(held(name), window.data());
        // The next click shows the same window again.
        QCOMPARE(open(opener, name), window.data());
        QVERIFY(window->isVisible());
    }
    QCOMPARE(topLevelWindowsNamed(name), 1);
}

void tst_WindowLifecycle::closingOneLeavesTheOthers_data()
{
    addEveryWindow();
}

void tst_WindowLifecycle::closingOneLeavesTheOthers()
{
    QFETCH(QString, name);
    QFETCH(QString, okButton);
    const QStringList names = {"Form2", "Form3", "Form4", "frmAbout"};
    for (const char* button : {"Command3", "Command5", "Command6", "Command4"})
        click(button);
    QList<QPointer<QWidget>> others;
    for (const QString& other : names) {
        QVERIFY2(held(other) && held(other)->isVisible(), qPrintable(other));
        if (other != name)
            others << held(other);
    }
    uitest::Click(held(name), okButton.toLatin1().constData());
    uitest::DiscardClosedWindows();
    QVERIFY(!held(name) || held(name)->isHidden());
    for (const QPointer<QWidget>& other : others)
        QVERIFY2(other && other->isVisible(), qPrintable(other ? other->objectName() : name));
    QVERIFY(mainWindow()->isVisible());
}

// Exit ends every window, the hidden options window too.
void tst_WindowLifecycle::exitClosesEveryWindow()
{
    click("Command6");
    Find<QPushButton>(mainWindow()->optionsWindow(), "Command1")->click();
    for (const char* button : {"Command3", "Command5", "Command4"})
        click(button);
    QPointer<QWidget> options = mainWindow()->optionsWindow();
    QPointer<QWidget> help = mainWindow()->helpWindow();
    QPointer<QWidget> about = mainWindow()->aboutWindow();
    QPointer<QWidget> result = mainWindow()->resultWindow();
    QVERIFY(options && options->isHidden());
    QVERIFY(help && about && result);

    click("Command1");
    QVERIFY(!mainWindow()->isVisible());
    uitest::DiscardClosedWindows();
    QVERIFY(!options);
    QVERIFY(!help);
    QVERIFY(!about);
    QVERIFY(!result);
}

QTEST_MAIN(tst_WindowLifecycle)
#include "tst_window_lifecycle.moc"
