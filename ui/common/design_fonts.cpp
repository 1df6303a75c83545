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

} // namespace

QFont DesignFont(const QString& family, qreal pointSize, bool bold, bool italic)
{
    static std::once_flag substitutesInstalled;
    std::call_once(substitutesInstalled, InstallFontSubstitutes);
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont LabelFont()
{
    return DesignFont(QStringLiteral("MS Sans Serif"), 8.25);
}

} // namespace ui
