#include "design_fonts.h"

#include <QStringList>

#include <mutex>

namespace ui {

namespace {

void InstallFontSubstitutes()
{
    // Liberation Sans has Arial's metrics, the closest installed match to MS Sans Serif;
    // DejaVu Sans is as wide as Trebuchet MS.
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                              QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Trebuchet MS"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

QFont DesignFont(const char* family, qreal pointSize, bool bold = false, bool italic = false)
{
    static std::once_flag substitutesInstalled;
    std::call_once(substitutesInstalled, InstallFontSubstitutes);
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace

QFont MainWindowFont()
{
    return DesignFont("Microsoft Sans Serif", 18);
}

QFont LabelFont()
{
    return DesignFont("MS Sans Serif", 8.25);
}

QFont ButtonFont()
{
    return DesignFont("MS Sans Serif", 9.75);
}

QFont FrameFont()
{
    return DesignFont("MS Sans Serif", 8.25, false, true);
}

QFont FieldFont()
{
    return DesignFont("Microsoft Sans Serif", 8.25);
}

QFont PaneFont()
{
    return DesignFont("Trebuchet MS", 18);
}

QFont NewTextPaneFont()
{
    return DesignFont("Trebuchet MS", 18, true);
}

QFont ReadOnlyPaneFont()
{
    return DesignFont("MS Sans Serif", 8.5);
}

} // namespace ui
