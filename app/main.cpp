#include "branding.h"
#include "startup.h"
#include "ui/main/main_window.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    app::PreferQtEventDispatcher();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("palimo-suite"));
    QApplication::setApplicationDisplayName(app::ApplicationTitle());
    QApplication::setWindowIcon(app::ApplicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("palimo-suite"));

    ui::MainWindow mainWindow;
    mainWindow.show();
    return QApplication::exec();
}
