// The application object as main() creates it: the identity a desktop matches windows by, the
// icon, Qt's own texts in Russian and the event dispatcher.
#include "app/application.h"
#include "ui/main/main_window.h"
#include "ui/text/text_pane.h"

#include <QAbstractEventDispatcher>
#include <QMenu>
#include <QTest>

class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void identityIsTheOneTheInstalledFilesCarry();
    void windowTitlesGetNothingAppended();
    void windowIconHasTheDesignSizes();
    void panesContextMenuIsInRussian_data();
    void panesContextMenuIsInRussian();
    void runsOnQtsOwnEventDispatcher();
};

void tst_Application::identityIsTheOneTheInstalledFilesCarry()
{
    // PALIMO_APP_ID is the build's, which also names the installed desktop entry, metainfo and
    // icons: a shell matches the window to its launcher only when they agree.
    QCOMPARE(app::ApplicationId(), QStringLiteral(PALIMO_APP_ID));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral(PALIMO_APP_ID));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("palimo-suite"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral(PALIMO_VERSION));
}

void tst_Application::windowTitlesGetNothingAppended()
{
    // The xcb and Wayland back ends append a display name that was set to every title.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

void tst_Application::windowIconHasTheDesignSizes()
{
    const QList<QSize> sizes = QGuiApplication::windowIcon().availableSizes();
    QVERIFY2(sizes.contains(QSize(16, 16)), "no 16 x 16 icon");
    QVERIFY2(sizes.contains(QSize(32, 32)), "no 32 x 32 icon");
}

void tst_Application::panesContextMenuIsInRussian_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("undo") << 0 << QStringLiteral("&Отменить действие\tCtrl+Z");
    QTest::newRow("copy") << 4 << QStringLiteral("&Копировать\tCtrl+C");
    QTest::newRow("paste") << 5 << QStringLiteral("В&ставить\tCtrl+V");
    QTest::newRow("select all") << 8 << QStringLiteral("Выделить всё\tCtrl+A");
}

void tst_Application::panesContextMenuIsInRussian()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    ui::MainWindow window;
    const std::unique_ptr<QMenu> menu(window.newTextPane()->createStandardContextMenu());
    const QList<QAction*> actions = menu->actions();
    QVERIFY(index < actions.size());
    QCOMPARE(actions.at(index)->text(), text);
}

void tst_Application::runsOnQtsOwnEventDispatcher()
{
    const QByteArray dispatcher = QAbstractEventDispatcher::instance()->metaObject()->className();
    QVERIFY2(!dispatcher.contains("Glib"), dispatcher.constData());
}

int main(int argc, char* argv[])
{
    const auto application = app::CreateApplication(argc, argv);
    tst_Application test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
