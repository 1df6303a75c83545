// "Выход" with every other window open ends the event loop, and so the process, with status 0.
// It starts the application as the program does, so it also shows that the program comes up
// on whichever platform it is given (offscreen here, Wayland in wayland_start.sh).
#include "app/application.h"
#include "ui/main/main_window.h"
#include "ui/windows/options_window.h"

#include <QPushButton>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    const auto application = app::CreateApplication(argc, argv);
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
