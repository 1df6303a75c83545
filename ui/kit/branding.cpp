#include "branding.h"

namespace ui {

QString ApplicationTitle()
{
    return QStringLiteral("Palimo Suite...");
}

QIcon ApplicationIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/palimo/icons/palimo-suite-32.xpm"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/palimo/icons/palimo-suite-16.xpm"), QSize(16, 16));
    return icon;
}

QPixmap Logo()
{
    return {QStringLiteral(":/palimo/icons/palimo-suite-logo.xpm")};
}

} // namespace ui
