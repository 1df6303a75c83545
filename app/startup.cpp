#include "startup.h"

#include <QByteArray>
#include <QtGlobal>

namespace app {

void PreferQtEventDispatcher()
{
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", QByteArrayLiteral("1"));
}

} // namespace app
