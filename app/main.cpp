#include "application.h"
#include "ui/main/main_window.h"

int main(int argc, char* argv[])
{
    const auto application = app::CreateApplication(argc, argv);
    ui::MainWindow mainWindow;
    mainWindow.show();
    return QApplication::exec();
}
