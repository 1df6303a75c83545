// Renders the main window with the options window open, headless, for the README: each window
// as the program draws it, with a plain title bar drawn around it.
#include "app/application.h"
#include "ui/main/main_window.h"
#include "ui/windows/options_window.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int TitleBarHeight = 24;
constexpr int Border = 1;

QImage Framed(QWidget* window)
{
    const QImage client = window->grab().toImage();
    QImage framed(client.width() + 2 * Border, client.height() + TitleBarHeight + Border,
                  QImage::Format_ARGB32);
    framed.fill(QColor(60, 60, 60));
    QPainter painter(&framed);
    painter.fillRect(Border, Border, client.width(), TitleBarHeight - Border, QColor(45, 45, 48));
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 0, client.width() - 16, TitleBarHeight), Qt::AlignVCenter,
                     window->windowTitle());
    painter.drawImage(Border, TitleBarHeight, client);
    return framed;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto application = app::CreateApplication(argc, argv);
    if (argc != 2) {
        std::fputs("usage: screenshot OUTPUT.png\n", stderr);
        return 2;
    }
    ui::MainWindow mainWindow;
    mainWindow.show();
    // The first tick of each timer: the split layout, the figures and one second on the clock.
    QTimer::singleShot(1200, application.get(), [&] {
        mainWindow.findChild<QPushButton*>(QStringLiteral("Command6"))->click();
        const QImage main = Framed(&mainWindow);
        const QImage options = Framed(mainWindow.optionsWindow());
        QImage shot(main.width() + 40, main.height() + 60, QImage::Format_ARGB32);
        shot.fill(QColor(236, 236, 236));
        QPainter painter(&shot);
        painter.drawImage(10, 10, main);
        painter.drawImage(shot.width() - options.width() - 10,
                          shot.height() - options.height() - 10, options);
        painter.end();
        QCoreApplication::exit(shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1);
    });
    return QApplication::exec();
}
