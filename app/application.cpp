#include "application.h"

#include "ui/kit/branding.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace app {

namespace {

// Timer3 ticks every millisecond for as long as the program runs. Qt's own event dispatcher
// wakes for it at a fraction of the cost of the GLib one, whose integrations (GTK's native
// dialogs) this program does not use. A choice the user made in the environment is kept.
void PreferQtEventDispatcher()
{
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", QByteArrayLiteral("1"));
}

// The whole interface is Russian, so Qt's own texts (the panes' context menu, the message
// box's button) are too, whatever the system's locale. Without the translation installed they
// stay in English and nothing else changes.
void LoadQtTranslation(QApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

QString ApplicationId()
{
    return QStringLiteral(PALIMO_APP_ID);
}

std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv)
{
    PreferQtEventDispatcher();
    auto application = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("palimo-suite"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PALIMO_VERSION));
    // No display name: Qt would append it to every window's title, and each window's title is
    // exactly its caption.
    QGuiApplication::setDesktopFileName(ApplicationId());
    QGuiApplication::setWindowIcon(ui::ApplicationIcon());
    LoadQtTranslation(*application);
    return application;
}

} // namespace app
