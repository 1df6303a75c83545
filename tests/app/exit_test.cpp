// "Выход" with every other window open ends the event loop, and so the process, with status 0;
// the loop it ends is Qt's own, not GLib's.
#include "app/startup.h"
#include "ui/main/main_window.h"
#include "ui/windows/options_window.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    app::PreferQtEventDispatcher();
    QApplication application(argc, argv);
    const char* dispatcher = QAbstractEventDispatcher::instance()->metaObject()->className();
    if (QByteArray(dispatcher).contains("Glib")) {
        std::fprintf(stderr, "the program runs on %s\n", dispatcher);
        return 1;
    }
    ui::MainWindow mainWindow;
    mainWindow.show();

    const auto press = [&mainWindow](const char* name) {
        mainWindow.findChild<QPushButton*>(QString::fromLatin1(name))->click();
    };
    QTimer::singleShot(0, &mainWindow, [&] {
        for (const char* name : {"Command3", "Command5", "Command6", "Command4"})
            press(name);
        mainWindow.optionsWindow()->hide(); // a hidden window must not keep the program alive
        press("Command1");
    });
    QTimer::singleShot(20'000, [] {
        std::fputs("the program did not end after Выход\n", stderr);
        QCoreApplication::exit(1);
    });
    return QApplication::exec();
}
